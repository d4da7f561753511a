// The page beside the lists of the tab "Felder".
#include "FieldPageView.h"

#include "Document.h"
#include "PageImage.h"
#include "PreparedProject.h"
#include "PreviewPaintBox.h"
#include "Translator.h"

#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kMargin = 8;                       // around the page
constexpr double kLeastZoom = 5, kMostZoom = 400; // per cent
constexpr double kZoomStep = 1.25;                // one wheel step with Ctrl
const QColor kHighlight(0, 120, 215);

QRect BoxRect(const CanvasRect& box) {
    return QRect(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1));
}
} // namespace

FieldPageView::FieldPageView(PreparedProject& prepared, std::function<PrinterPage()> printer,
                             QWidget* parent)
    : QWidget(parent), project(prepared), printerPage(std::move(printer)) {
    setObjectName(QStringLiteral("FieldPageView"));
    setAccessibleName(QStringLiteral("Seitenansicht"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    auto* wholePage = new QPushButton(QStringLiteral("Ganze Seite"), this);
    wholePage->setObjectName(QStringLiteral("GanzeSeiteBtn"));
    auto* pageWidth = new QPushButton(QStringLiteral("Seitenbreite"), this);
    pageWidth->setObjectName(QStringLiteral("SeitenbreiteBtn"));
    for (QPushButton* b : {wholePage, pageWidth}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    row->addStretch(1);
    column->addLayout(row);
    scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("SeitenansichtScrollBox"));
    scroller->setAccessibleName(QStringLiteral("Seitenansicht"));
    scroller->setBackgroundRole(QPalette::Dark);
    scroller->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroller->setWidgetResizable(false);
    column->addWidget(scroller, 1);
    sheet = new PreviewPaintBox;
    sheet->setObjectName(QStringLiteral("SeitenansichtPage"));
    sheet->setAccessibleName(QStringLiteral("Seitenansicht"));
    sheet->setMouseTracking(true);
    sheet->onPaint = [this](QPaintEvent* e) { PaintPage(e); };
    sheet->picked = [this](QPoint p) { Pick(p, false); };
    sheet->opened = [this](QPoint p) { Pick(p, true); };
    sheet->onMove = [this](QPoint p) { PointAt(p); };
    scroller->setWidget(sheet);
    sheet->installEventFilter(this);
    scroller->viewport()->installEventFilter(this);
    connect(wholePage, &QPushButton::clicked, this, [this] { SetFit(Fit::Page); });
    connect(pageWidth, &QPushButton::clicked, this, [this] { SetFit(Fit::Width); });
    connect(&project, &PreparedProject::changed, this, &FieldPageView::Refresh);
    connect(&project.document().selection(), &Selection::changed, this, &FieldPageView::Refresh);
}

int FieldPageView::SelectedCategory() const {
    return project.document().selection().Category();
}

int FieldPageView::SelectedField() const {
    return project.document().selection().Field();
}

void FieldPageView::SetFit(Fit how) {
    fit = how;
    Refresh();
}

void FieldPageView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale) Refresh();
}

void FieldPageView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (fit != Fit::Free) Refresh();
}

double FieldPageView::FittedZoom() const {
    const PageSize full = LayoutPageSize(printerPage(), logicalDpiX(), 100);
    if (full.width <= 0 || full.height <= 0) return zoom;
    // The scroll bar across is never needed when fitted; the one down may be.
    const QSize room = scroller->viewport()->size() - QSize(2 * kMargin, 2 * kMargin);
    const int barWidth = scroller->verticalScrollBar()->sizeHint().width();
    double fitted = 100.0 * (room.width() - barWidth) / full.width;
    if (fit == Fit::Page) fitted = std::min(fitted, 100.0 * room.height() / full.height);
    // Whole per cents: a few layouts kept in the page start index, not one per pixel.
    return std::clamp(std::floor(fitted), kLeastZoom, kMostZoom);
}

void FieldPageView::Refresh() {
    if (!isVisible()) {
        stale = true;
        return;
    }
    stale = false;
    if (fit != Fit::Free) zoom = FittedZoom();
    const qreal ratio = devicePixelRatioF();
    const int dpi = qRound(logicalDpiX() * ratio);
    PageInput input = project.Input(printerPage());
    const int category = SelectedCategory();
    page = category >= 0 ? PageOfPlace(input, dpi, zoom, category, SelectedField()) : 1;
    const PageSize size = LayoutPageSize(input.printer, dpi, zoom);
    map.Clear();
    input.fields = &map;
    image = QImage(std::max(size.width, 1), std::max(size.height, 1), QImage::Format_RGB32);
    DrawPagePart(image, QPoint(0, 0), input, dpi, size, page, zoom);
    image.setDevicePixelRatio(ratio);
    const QSize shown = (QSizeF(image.size()) / ratio).toSize();
    sheet->resize(shown + QSize(2 * kMargin, 2 * kMargin));
    const QRect highlight = Highlight();
    if (!highlight.isEmpty())
        scroller->ensureVisible(highlight.center().x(), highlight.center().y(),
                                highlight.width() / 2 + kMargin, highlight.height() / 2 + kMargin);
    Describe();
    sheet->update();
}

QRect FieldPageView::Highlight() const {
    const int category = SelectedCategory(), field = SelectedField();
    QRect box;
    if (category < 0) return {};
    if (field >= 0) {
        if (const DrawnField* drawn = map.Find(category, static_cast<std::uint32_t>(field)))
            box = BoxRect(drawn->box);
    } else if (const DrawnHeading* heading = map.FindHeading(category)) {
        box = BoxRect(heading->band);
    }
    if (box.isEmpty()) return {};
    const qreal ratio = image.devicePixelRatio();
    const QRectF scaled(box.x() / ratio, box.y() / ratio, box.width() / ratio,
                        box.height() / ratio);
    return scaled.toAlignedRect().translated(kMargin, kMargin).adjusted(-3, -3, 3, 3);
}

void FieldPageView::PaintPage(QPaintEvent*) {
    QPainter painter(sheet);
    painter.fillRect(sheet->rect(), sheet->palette().color(QPalette::Dark));
    painter.drawImage(QPoint(kMargin, kMargin), image);
    const QRect highlight = Highlight();
    if (highlight.isEmpty()) return;
    painter.setPen(QPen(kHighlight, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(highlight);
}

QPoint FieldPageView::PagePoint(QPoint p) const {
    const qreal ratio = image.devicePixelRatio();
    return QPoint(qFloor((p.x() - kMargin) * ratio), qFloor((p.y() - kMargin) * ratio));
}

void FieldPageView::Pick(QPoint p, bool open) {
    const QPoint at = PagePoint(p);
    if (const DrawnField* drawn = map.At(page, at.x(), at.y())) {
        if (!open) emit fieldPicked(drawn->category, static_cast<int>(drawn->field));
    } else if (const DrawnHeading* heading = map.HeadingAt(page, at.x(), at.y())) {
        if (open)
            emit categoryOpened(heading->category);
        else
            emit categoryPicked(heading->category);
    }
}

void FieldPageView::PointAt(QPoint p) {
    const QPoint at = PagePoint(p);
    if (map.At(page, at.x(), at.y()) || map.HeadingAt(page, at.x(), at.y()))
        sheet->setCursor(Qt::PointingHandCursor);
    else
        sheet->unsetCursor();
}

void FieldPageView::Describe() {
    // What the lists' keyboard focus has selected, for a screen reader;
    // nothing (and no text looked up) while nothing is selected.
    const int category = SelectedCategory(), field = SelectedField();
    QString text;
    if (field >= 0) {
        if (const DrawnField* drawn = map.Find(category, static_cast<std::uint32_t>(field)))
            text = TranslateText(QStringLiteral("Feld")) +
                   QStringLiteral(" „%1“, ").arg(drawn->label.simplified()) + TranslateText(QStringLiteral("Kategorie")) +
                   QStringLiteral(" „%1“, ").arg(drawn->categoryName.simplified());
    } else if (category >= 0) {
        const QString name = project.document().form().CategoryName(category);
        text = TranslateText(QStringLiteral("Kategorie")) +
               QStringLiteral(" „%1“, ").arg(name.simplified());
    }
    if (category >= 0)
        text += TranslateText(QStringLiteral("Seite")) + QStringLiteral(" %1").arg(page);
    sheet->setAccessibleDescription(text);
    setAccessibleDescription(text);
}

bool FieldPageView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && (watched == sheet || watched == scroller->viewport())) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
        const int dy = wheel->angleDelta().y();
        if (dy == 0) return true;
        zoom = std::clamp(std::round(dy > 0 ? zoom * kZoomStep : zoom / kZoomStep), kLeastZoom,
                          kMostZoom);
        fit = Fit::Free;
        Refresh();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

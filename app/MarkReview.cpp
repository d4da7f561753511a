// The scanned box, large, with its outline; two buttons decide it. A text
// box's scan beside a line for typing in what was written, the reader's guess
// at a number offered in it.
#include "MarkReview.h"

#include "OrderCollection.h"
#include "Translator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The part of the scan shown, with the box outlined in red, at most 480 pixels wide.
QPixmap Shown(const UndecidedMark& mark) {
    QImage image = mark.scan.convertToFormat(QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::red, std::max(1.0, image.width() / 200.0)));
        p.drawPolygon(mark.outline);
    }
    const int width = std::clamp(image.width() * 2, 120, 480);
    return QPixmap::fromImage(image.scaledToWidth(width, Qt::SmoothTransformation));
}

} // namespace

MarkReviewDialog::MarkReviewDialog(const UndecidedMark& mark, const QString& head, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("MarkReviewDialog"));
    setWindowTitle(TranslateText(QStringLiteral("Kästchen entscheiden")));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(head, this);
    name->setObjectName(QStringLiteral("MarkReviewHead"));
    layout->addWidget(name);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("MarkReviewScan"));
    picture->setPixmap(Shown(mark));
    layout->addWidget(picture);
    auto* buttons = new QHBoxLayout;
    auto* marked = new QPushButton(TranslateText(QStringLiteral("Angekreuzt")), this);
    marked->setObjectName(QStringLiteral("MarkedBtn"));
    auto* empty = new QPushButton(TranslateText(QStringLiteral("Leer")), this);
    empty->setObjectName(QStringLiteral("EmptyBtn"));
    auto* cancel = new QPushButton(TranslateText(QStringLiteral("Abbrechen")), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(marked, &QPushButton::clicked, this, [this] {
        decision = QStringLiteral("1");
        accept();
    });
    connect(empty, &QPushButton::clicked, this, [this] {
        decision = QStringLiteral("0");
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(marked);
    buttons->addWidget(empty);
    buttons->addStretch();
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

HandwritingDialog::HandwritingDialog(const UndecidedMark& box, const QString& head,
                                     const QString& value, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("HandwritingDialog"));
    setWindowTitle(TranslateText(QStringLiteral("Text eintippen")));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(head, this);
    name->setObjectName(QStringLiteral("HandwritingHead"));
    layout->addWidget(name);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("HandwritingScan"));
    picture->setPixmap(Shown(box));
    layout->addWidget(picture);
    // The reader's guess beside the box, and in the line to be confirmed or typed over.
    const bool suggest = value.isEmpty() && !box.suggestion.isEmpty();
    if (suggest) {
        auto* guess = new QLabel(TranslateText(QStringLiteral("Vorschlag: %1")).arg(box.suggestion), this);
        guess->setObjectName(QStringLiteral("HandwritingSuggestion"));
        layout->addWidget(guess);
    }
    edit = new QLineEdit(suggest ? box.suggestion : value, this);
    edit->setObjectName(QStringLiteral("HandwritingEdit"));
    edit->setAccessibleName(head);
    if (suggest) edit->selectAll();
    layout->addWidget(edit);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(TranslateText(QStringLiteral("Abbrechen")), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    edit->setFocus();
}

QString HandwritingDialog::Text() const {
    return edit->text();
}

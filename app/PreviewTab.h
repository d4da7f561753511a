#pragma once
// The tab "Formular erzeugen": the zoom, the page number and the page preview.
// It draws the exposed part of the page from the prepared project whenever the
// project changes or the box is exposed, and scrolls by 20 pixels per mouse
// wheel step while it is the tab shown. A click on a field or a category
// heading of the page picks it (looked up in the field map of the page drawn).

#include "FieldMap.h"
#include "PaintToCanvas.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QTimer;
class QScrollArea;
class QSpinBox;
class QWheelEvent;
class PreparedProject;

class PreviewTab : public QWidget {
    Q_OBJECT
  public:
    // printerPage gives the page the layout takes its proportions from.
    PreviewTab(PreparedProject& project, std::function<PrinterPage()> printerPage,
               QWidget* parent = nullptr);
    ~PreviewTab() override;

    // The page's size on screen at the present zoom.
    PageSize PreviewPageSize() const;
    // Gives the keyboard focus to the covered edit that takes the keys.
    void FocusKeys();
    // Draws the page again at its next paint, and counts the pages again soon
    // (at once when the tab is shown next); the page number's maximum follows.
    void Repaint();
    // The number of pages at the present zoom, as "von N" shows it.
    int PageCount();

  signals:
    void fieldPicked(int category, int field);
    void categoryPicked(int category);
    void categoryOpened(int category);

  protected:
    void showEvent(QShowEvent* event) override;

    bool eventFilter(QObject* watched, QEvent* event) override; // the mouse wheel

  private:
    void PaintPage(QPaintEvent* event);
    void ShowPageCount();
    // What lies under point p of the paint box: picks it, or takes the keys.
    void Pick(QPoint p, bool open);
    void PointAt(QPoint p);

    PreparedProject& project;
    std::function<PrinterPage()> printerPage;
    QSpinBox* zoomBox;
    QSpinBox* pageNumberBox;
    QLabel* pageCountLabel;
    QTimer* countTimer; // counts the pages once after a burst of changes
    QScrollArea* pageScroller;
    QWidget* pageBox;
    QLineEdit* keyCatcher;
    FieldMap map; // the fields of the page drawn last
    int mappedPage = 0;
    const QWheelEvent* lastWheel = nullptr;
    quint64 lastWheelTime = 0;
    QPointer<QWidget> lastWheelWidget; // the widget the last wheel event was sent to
};

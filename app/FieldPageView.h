#pragma once
// The page beside the lists of the tab "Felder": the page on which the selected
// field (or category) lands, scrolled to it and framed by a thin highlight. It
// reads the selection from the document whenever it draws, and follows every
// change of the selection and of the prepared project at once, laying out only that
// page (the page start index keeps the pages before a change). A click on a
// field or a category heading picks it, a double click on a heading opens the
// category; both are looked up in the field map of the page shown.

#include "FieldMap.h"
#include "PaintToCanvas.h"

#include <QImage>
#include <QWidget>
#include <functional>

class PreparedProject;
class PreviewPaintBox;
class QScrollArea;

class FieldPageView : public QWidget {
    Q_OBJECT
  public:
    // How the page is fitted into the view.
    enum class Fit { Width, Page, Free };

    FieldPageView(PreparedProject& project, std::function<PrinterPage()> printerPage,
                  QWidget* parent = nullptr);

    void SetFit(Fit fit);
    Fit CurrentFit() const { return fit; }
    // Zoom in per cent the page is drawn at.
    double Zoom() const { return zoom; }
    // The page shown (from 1).
    int ShownPage() const { return page; }
    // The highlighted box in the paint box's pixels; empty when nothing is highlighted.
    QRect Highlight() const;
    // Where each field and heading of the shown page lies.
    const FieldMap& Map() const { return map; }

  signals:
    void fieldPicked(int category, int field);
    void categoryPicked(int category);
    void categoryOpened(int category);

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override; // Ctrl and the wheel zoom

  private:
    // Lays the page out again and draws it; only while the view is shown.
    void Refresh();
    double FittedZoom() const;
    void PaintPage(QPaintEvent* event);
    // The page pixel under point p of the paint box.
    QPoint PagePoint(QPoint p) const;
    void Pick(QPoint p, bool open);
    void PointAt(QPoint p);
    void Describe();
    // The selected category and field (-1: the category's heading; category
    // -1: nothing selected, page 1 without a highlight).
    int SelectedCategory() const;
    int SelectedField() const;

    PreparedProject& project;
    std::function<PrinterPage()> printerPage;
    QScrollArea* scroller;
    PreviewPaintBox* sheet;
    Fit fit = Fit::Width;
    double zoom = 100;
    int page = 1;
    bool stale = true; // changed while hidden
    QImage image;      // the page shown, in device pixels
    FieldMap map;
};

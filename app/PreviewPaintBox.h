#pragma once
// The paint box of a page view: it hands every paint event to its owner, which
// draws the exposed part of the page, and tells it where the mouse was pressed,
// double-clicked and moved (in the box's own pixels).

#include <QMouseEvent>
#include <QWidget>
#include <functional>

class PreviewPaintBox : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewPaintBox(QWidget* parent = nullptr) : QWidget(parent) {}
    std::function<void(QPaintEvent*)> onPaint;
    // A point of the page pressed with the left button, or double-clicked to open it.
    std::function<void(QPoint)> picked;
    std::function<void(QPoint)> opened;
    std::function<void(QPoint)> onMove; // with mouse tracking on, without a button too

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (onPaint) onPaint(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (picked && event->button() == Qt::LeftButton) picked(event->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (opened && event->button() == Qt::LeftButton) opened(event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (onMove) onMove(event->position().toPoint());
    }
};

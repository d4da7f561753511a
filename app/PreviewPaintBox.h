#pragma once
// The page preview's paint box: it hands every paint event to its owner, which
// draws the exposed part of the page.

#include <QWidget>
#include <functional>

class PreviewPaintBox : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewPaintBox(QWidget* parent = nullptr) : QWidget(parent) {}
    std::function<void(QPaintEvent*)> onPaint;
    std::function<void()> onClick;

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (onPaint) onPaint(event);
    }
    void mousePressEvent(QMouseEvent*) override {
        if (onClick) onClick();
    }
};

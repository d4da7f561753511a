#include "DibPaintBox.h"

#include "QPainterDibDevice.h"
#include "StretchDib.h"

#include <QPainter>

DibPaintBox::DibPaintBox(QWidget* parent) : QWidget(parent) {}

void DibPaintBox::setDib(const dib* record) {
    rec = record;
    pictureChanged();
}

void DibPaintBox::pictureChanged() {
    if (rec && rec->poi) setFixedSize(DibWidth(*rec), DibHeight(*rec));
    update();
}

QSize DibPaintBox::sizeHint() const {
    if (rec && rec->poi) return QSize(DibWidth(*rec), DibHeight(*rec));
    return QWidget::sizeHint();
}

void DibPaintBox::paintEvent(QPaintEvent*) {
    if (!rec || !rec->poi) return;
    QPainter painter(this);
    QPainterDibDevice device(painter, DeviceTechnology::RasterDisplay);
    StretchDib(device, 0, 0, width(), height(), *rec, 0, 0, DibWidth(*rec), DibHeight(*rec),
               SRCCOPY);
}

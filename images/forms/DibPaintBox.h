#pragma once
// A picture preview: shows a picture record at its own size.

#include "Dib.h"

#include <QWidget>

class DibPaintBox : public QWidget {
    Q_OBJECT
  public:
    explicit DibPaintBox(QWidget* parent = nullptr);

    // The record shown; it stays owned by the caller and must outlive this
    // box or be replaced first. nullptr shows nothing.
    void setDib(const dib* rec);
    const dib* picture() const { return rec; }
    // Call after the record was loaded or released: takes the picture's size
    // and paints it again. An empty record draws nothing.
    void pictureChanged();

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const dib* rec = nullptr;
};

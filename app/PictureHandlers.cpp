// Loading the logo and the background when their file or processing settings change.
#include "MainUnit.h"

#include "DibPaintBox.h"
#include "FilenameEditBox.h"
#include "PicturePreparation.h"

#include <QCheckBox>
#include <QDoubleSpinBox>

void TMainForm::FilenameEdit1Change() {
    if (!layout.logoFile || !preparingPictures) return;
    LoadLogo(di3, layout.logoFile->fileName(), progpath);
    if (PaintBox3) {
        PaintBox3->setDib(&di3);
        PaintBox3->pictureChanged();
    }
    if (PaintBox1) PaintBox1->update();
}

void TMainForm::FilenameEdit2Change() {
    if (!layout.backgroundFile || !preparingPictures) return;
    const LayoutSettings s = Settings();
    const BackgroundProcessing processing = BackgroundProcessingOf(s);
    LoadBackground(di2, s.backgroundFile, processing, progpath);
    if (PaintBox2) {
        PaintBox2->setDib(&di2);
        PaintBox2->pictureChanged();
    }
    if (PaintBox1) PaintBox1->update();
}

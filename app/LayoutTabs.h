#pragma once
// The tabs "Layout", "Hintergrund" and "Logo": the controls of the page layout
// values, made from the settings tables and bound to the document, and the
// previews of the prepared background and logo.

#include <QString>

class QWidget;
class LayoutBinding;
class PreparedProject;

QWidget* BuildLayoutTab(LayoutBinding& layout);
// pictureFilter: the filter of the file boxes' dialogs.
QWidget* BuildBackgroundTab(LayoutBinding& layout, PreparedProject& project,
                            const QString& pictureFilter);
QWidget* BuildLogoTab(LayoutBinding& layout, PreparedProject& project,
                      const QString& pictureFilter);

#pragma once
// A one-line file name edit with a button that opens a file dialog.

#include <QWidget>

class QLineEdit;
class QToolButton;

class FilenameEditBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString fileName READ fileName WRITE setFileName NOTIFY fileNameChanged)
    Q_PROPERTY(QString filter READ filter WRITE setFilter)
  public:
    explicit FilenameEditBox(QWidget* parent = nullptr);

    QString fileName() const;
    // Changing the text, by code or by hand, emits fileNameChanged.
    void setFileName(const QString& name);
    // "Description|*.a;*.b|..." pairs, as GetDIBOpenFilter gives them.
    QString filter() const { return pipeFilter; }
    void setFilter(const QString& filter) { pipeFilter = filter; }
    // Caption of the file dialog; empty for the toolkit's default.
    QString dialogTitle() const { return title; }
    void setDialogTitle(const QString& text) { title = text; }

    QLineEdit* lineEdit() const { return edit; }
    QToolButton* browseButton() const { return button; }

  public slots:
    // Opens the file dialog; a chosen file replaces the text.
    void browse();

  signals:
    void fileNameChanged(const QString& name);

  private:
    QLineEdit* edit;
    QToolButton* button;
    QString pipeFilter;
    QString title;
};

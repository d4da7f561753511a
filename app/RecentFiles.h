#pragma once
// The submenu "Zuletzt geöffnet": the last eight project files opened or saved,
// newest first, kept in the program's settings (ProgramSettings.h). Choosing a file that is gone
// removes it from the list with a message naming it.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

class RecentFiles : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxFiles = 8;

    // open is called for a chosen file that exists; the menu lives in parent's window.
    RecentFiles(QMenu* menu, const QString& programDir, std::function<void(const QString&)> open,
                QWidget* parent);

    QStringList Files() const { return files; }
    // Puts path (made absolute) at the top; the oldest beyond eight drops out.
    void Add(const QString& path);
    // Takes path out of the list.
    void Remove(const QString& path);
    // What choosing the entry of path does: opens it, or removes a missing file
    // with a message.
    void Choose(const QString& path);

  private:
    void Store();
    void Rebuild();

    QMenu* menu;
    QString programDir;
    std::function<void(const QString&)> open;
    QWidget* window;
    QStringList files;
};

#pragma once
// The application object of the window program. An exception that escapes an
// event handler ends nothing silently: the unsaved project is put into its
// recovery copy, the user is told what happened, and the program ends with a
// status that is not zero.

#include <QApplication>
#include <QString>
#include <functional>

class ProgramApplication : public QApplication {
  public:
    ProgramApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The status the program ends with after such an exception.
constexpr int kUncaughtExceptionStatus = 70;

// What is done before the program ends on such an exception: the window puts
// its unsaved project into the recovery copy (true when it did). None: nothing.
void SetRescueBeforeEnd(std::function<bool()> rescue);

// Saves what can be saved, tells the user of the exception `what` and ends the program.
[[noreturn]] void EndOnUncaughtException(const QString& what);

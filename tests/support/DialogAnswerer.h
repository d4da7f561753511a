#pragma once
// Answers the next modal dialog that a test provokes. Arm it before the action
// that should open the dialog; the answer runs as soon as the dialog is up. If
// no dialog appeared by the time Verify() (or the destructor) runs, the test fails.

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

class QWidget;

class DialogAnswerer {
  public:
    explicit DialogAnswerer(std::function<void(QWidget*)> answer);
    // Answers several dialogs that come one after the other, in this order.
    explicit DialogAnswerer(std::vector<std::function<void(QWidget*)>> answers);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Presses the message box button of that role (Yes, No, Cancel, Ok).
    static DialogAnswerer Press(QMessageBox::StandardButton button);
    static std::function<void(QWidget*)> PressAnswer(QMessageBox::StandardButton button);
    // Rejects the dialog (Cancel).
    static std::function<void(QWidget*)> RejectAnswer();

    bool Appeared() const { return appeared; }
    // Title and text of the dialog answered, for checks after the action.
    QString Title() const { return title; }
    QString Text() const { return text; }
    // Fails the test if no dialog appeared; the destructor calls it too.
    void Verify();

  private:
    void Poll();

    std::vector<std::function<void(QWidget*)>> answers;
    std::size_t answered = 0;
    QPointer<QWidget> lastAnswered;
    QElapsedTimer sinceAnswer;
    QTimer* timer;
    bool appeared = false;
    bool verified = false;
    QString title, text;
};

// Runs `action` and expects exactly one message box with `button` pressed in it.
// Returns the message box's text.
QString AnswerMessageBox(QMessageBox::StandardButton button, const std::function<void()>& action);

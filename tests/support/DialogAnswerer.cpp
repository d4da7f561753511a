#include "DialogAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <gtest/gtest.h>

DialogAnswerer::DialogAnswerer(std::function<void(QWidget*)> answerFn)
    : DialogAnswerer(std::vector<std::function<void(QWidget*)>>{std::move(answerFn)}) {}

DialogAnswerer::DialogAnswerer(std::vector<std::function<void(QWidget*)>> answerFns)
    : answers(std::move(answerFns)), timer(new QTimer) {
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [this] { Poll(); });
    timer->start();
}

DialogAnswerer::~DialogAnswerer() {
    if (!verified) Verify();
    delete timer;
}

DialogAnswerer DialogAnswerer::Press(QMessageBox::StandardButton button) {
    return DialogAnswerer(PressAnswer(button));
}

std::function<void(QWidget*)> DialogAnswerer::RejectAnswer() {
    return [](QWidget* w) {
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
        else
            w->close();
    };
}

std::function<void(QWidget*)> DialogAnswerer::PressAnswer(QMessageBox::StandardButton button) {
    return [button](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            if (QAbstractButton* b = box->button(button)) {
                b->click();
                return;
            }
            ADD_FAILURE() << "the message box has no such button";
            box->reject();
        } else {
            ADD_FAILURE() << "expected a message box, got " << w->metaObject()->className();
            w->close();
        }
    };
}

void DialogAnswerer::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && (modal == lastAnswered || answered >= answers.size())) {
        // A dialog that stays open after its answer, or one nobody expected, would
        // leave the test hanging: fail and close it.
        if (sinceAnswer.isValid() && sinceAnswer.elapsed() > 3000) {
            ADD_FAILURE() << "a dialog stayed open: " << modal->windowTitle().toStdString();
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
            sinceAnswer.start();
        }
        return;
    }
    if (!modal) return;
    sinceAnswer.start();
    lastAnswered = modal;
    title = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) text = box->text();
    const std::size_t n = answered++;
    if (answered == answers.size()) appeared = true;
    answers[n](modal);
}

void DialogAnswerer::Verify() {
    verified = true;
    timer->stop();
    lastAnswered = nullptr;
    EXPECT_TRUE(appeared) << "the expected dialog never appeared (" << answered << " of "
                          << answers.size() << " answered)";
}

QString AnswerMessageBox(QMessageBox::StandardButton button, const std::function<void()>& action) {
    DialogAnswerer answerer = DialogAnswerer::Press(button);
    action();
    answerer.Verify();
    return answerer.Text();
}

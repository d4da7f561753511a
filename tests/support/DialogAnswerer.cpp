#include "DialogAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

DialogAnswerer::DialogAnswerer(std::function<void(QWidget*)> answerFn)
    : answer(std::move(answerFn)), timer(new QTimer) {
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [this] { Poll(); });
    timer->start();
}

DialogAnswerer::~DialogAnswerer() {
    if (!verified) Verify();
    delete timer;
}

DialogAnswerer DialogAnswerer::Press(QMessageBox::StandardButton button) {
    return DialogAnswerer([button](QWidget* w) {
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
    });
}

void DialogAnswerer::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || appeared) return;
    appeared = true;
    timer->stop();
    title = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) text = box->text();
    answer(modal);
}

void DialogAnswerer::Verify() {
    verified = true;
    timer->stop();
    EXPECT_TRUE(appeared) << "the expected dialog never appeared";
}

QString AnswerMessageBox(QMessageBox::StandardButton button, const std::function<void()>& action) {
    DialogAnswerer answerer = DialogAnswerer::Press(button);
    action();
    answerer.Verify();
    return answerer.Text();
}

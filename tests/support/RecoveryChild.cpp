// A program run for the recovery tests: the window as the program makes it,
// edited as a user edits it, then either left running until the test kills it
// ("edit") or ended by an exception that escapes an event handler ("throw").
// It prints what the test waits for on standard output.
#include "Document.h"
#include "FieldsTab.h"
#include "MainWindow.h"
#include "ProgramApplication.h"
#include "RecoveryCopy.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <stdexcept>

namespace {
// Something of the user's that goes wrong inside an event handler.
class FaultyHandler : public QObject {
  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::out_of_range("a place that is gone");
        return QObject::event(e);
    }
};

void Say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// A category "Gerettet" with a field "Menge", typed in as a user does.
void Edit(MainWindow& window) {
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("NewKategorieBtn")), Qt::LeftButton);
    QWidget* editor = QApplication::focusWidget();
    QTest::keyClicks(editor, QStringLiteral("Gerettet"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    window.Fields()->SelectCategory(window.document().CategoryCount() - 1);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("NeuesProduktBtn")), Qt::LeftButton);
    auto* name = window.findChild<QPlainTextEdit*>(QStringLiteral("ProdNameEd"));
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, QStringLiteral("Menge"));
}
} // namespace

int main(int argc, char** argv) {
    ProgramApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillora"));
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) return 2;
    MainWindow window(args[2], {});
    window.show();
    window.activateWindow();
    QTest::qWaitForWindowActive(&window);
    window.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    window.recoveryCopy().SetDelays(50, 500);
    QObject::connect(&window.recoveryCopy(), &RecoveryCopy::written, [](const QString& path) {
        Say(QStringLiteral("written ") + path);
    });
    Edit(window);
    if (args[1] == QLatin1String("edit")) return QApplication::exec(); // until killed
    // The message about the exception is read and closed as a user would.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Say(QStringLiteral("message ") + box->objectName() + QLatin1Char(' ') + box->text());
            box->accept();
        }
    });
    answer.start(5);
    FaultyHandler faulty;
    QApplication::postEvent(&faulty, new QEvent(QEvent::User));
    QApplication::exec();
    Say(QStringLiteral("still running"));
    return 0;
}

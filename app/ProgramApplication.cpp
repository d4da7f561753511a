#include "ProgramApplication.h"

#include "Translator.h"

#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <typeinfo>

namespace {
std::function<bool()>& Rescue() {
    static std::function<bool()> rescue;
    return rescue;
}
} // namespace

ProgramApplication::ProgramApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ProgramApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        EndOnUncaughtException(QString::fromLocal8Bit(typeid(e).name()) + QStringLiteral(": ") +
                               QString::fromLocal8Bit(e.what()));
    } catch (...) {
        EndOnUncaughtException(QStringLiteral("unknown exception"));
    }
}

void SetRescueBeforeEnd(std::function<bool()> rescue) {
    Rescue() = std::move(rescue);
}

void EndOnUncaughtException(const QString& what) {
    static bool ending = false;
    std::fprintf(stderr, "quillora: uncaught exception: %s\n", qPrintable(what));
    if (!ending) {
        ending = true; // the message below must not end up here once more
        const bool saved = Rescue() && Rescue()();
        QString text = TranslateText(QStringLiteral(
            "Ein unerwarteter Fehler ist aufgetreten. Das Programm muss beendet werden."));
        if (saved)
            text += QStringLiteral("\n\n") +
                    TranslateText(QStringLiteral("Die Änderungen wurden gesichert und werden beim "
                                                 "nächsten Start zum Wiederherstellen angeboten."));
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text);
        box.setObjectName(QStringLiteral("UncaughtExceptionMessage"));
        box.setDetailedText(what);
        box.exec();
    }
    std::fflush(nullptr);
    std::_Exit(kUncaughtExceptionStatus);
}

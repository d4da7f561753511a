#include "WindowCommands.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {
QList<QKeySequence> KeysOf(const WindowCommand& row) {
    QList<QKeySequence> keys;
    if (row.key != QKeySequence::UnknownKey) keys = QKeySequence::keyBindings(row.key);
    for (const QString& text :
         QString::fromLatin1(row.moreKeys).split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const QKeySequence more(text, QKeySequence::PortableText);
        if (!keys.contains(more)) keys.append(more);
    }
    return keys;
}

void AddButton(QWidget* toolBar, const WindowCommand& row) {
    auto* button = new QPushButton(QString::fromUtf8(row.caption), toolBar);
    button->setObjectName(QString::fromLatin1(row.button));
    button->setAutoDefault(false);
    toolBar->layout()->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, button, [run = row.run] { run(); });
}
} // namespace

void BuildWindowCommands(const std::vector<WindowCommand>& rows, QMenuBar* bar, QWidget* toolBar) {
    QMenu* menu = nullptr;
    for (const WindowCommand& row : rows) {
        const QString name = QString::fromLatin1(row.name);
        const QString caption = QString::fromUtf8(row.caption);
        switch (row.kind) {
        case WindowCommand::Kind::Menu:
            menu = bar->addMenu(caption);
            menu->setObjectName(name);
            if (row.fill) row.fill(menu);
            break;
        case WindowCommand::Kind::Separator:
            menu->addSeparator()->setObjectName(name);
            break;
        case WindowCommand::Kind::Submenu: {
            QMenu* sub = menu->addMenu(caption);
            sub->setObjectName(name);
            if (row.fill) row.fill(sub);
            break;
        }
        case WindowCommand::Kind::Item: {
            QAction* action = menu->addAction(caption);
            action->setObjectName(name);
            const QList<QKeySequence> keys = KeysOf(row);
            if (!keys.isEmpty()) action->setShortcuts(keys);
            if (row.run)
                QObject::connect(action, &QAction::triggered, action, [run = row.run] { run(); });
            if (row.setUp) row.setUp(action);
            if (row.button) AddButton(toolBar, row);
            break;
        }
        }
    }
}

#pragma once
// A caption label with its own objectName, so that the translation walk and the
// tests can find it.

#include <QLabel>
#include <QString>

inline QLabel* NamedLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

inline QLabel* NamedLabel(QWidget* parent, const char* name, const QString& caption) {
    return NamedLabel(parent, QString::fromLatin1(name), caption);
}

#pragma once
// Translates the texts of every object below a root: window titles, captions,
// tool tips, items, headings, filters and text boxes, each by its kind.

#include <QObject>

class Translator;

// Walks root's children breadth-first, each parent's children from the last to
// the first, translating each object by its kind. A root window's own title is
// translated first. When root is the application object, the windows without a
// parent count as its children, so every window that exists is reached.
//
// Conventions for our own widgets:
// - dynamic property "quilloraFilter" (text): a file filter, translated as one text;
//   a file dialog that carries it has only this text looked up, not its name filters;
// - dynamic property "quilloraFileName" = true, or class FilenameEditBox: a
//   file-name box, whose text and inner widgets are left alone.
// - class ColourSwatch: a colour shape, of which only the tool tip is translated;
// - a menu separator is looked up as "-" and keeps showing no text;
// - dynamic property "quilloraKeepText" = true: texts the same in every language
//   (a name with a date), left alone.
void TranslateComponents(QObject* root, Translator& translator);
void TranslateComponents(QObject* root);

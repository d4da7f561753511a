#pragma once
// The numbered German texts of the program's messages and box titles.

#include <QString>

constexpr int kMessageCount = 29;

// The messages by name; each stands for its entry's number in the table.
enum class Message : int {
    CannotOpenFile = 1,
    RestartProgram = 2,
    Translate = 3,
    ImportIntoCategory = 4,
    ImportColumns = 5,
    Import = 6,
    ChooseImportCategory = 7,
    Importing = 8,
    PictureNotLoaded = 9,
    DeleteCategoryQuestion = 10,
    DeleteCategory = 11,
    SaveQuestion = 12,
    Save = 13,
    Name = 14,
    ArticleNumber = 15,
    Price = 16,
    FromTen = 17,
    FromHundred = 18,
    NewField = 19,
    PrintTitle = 20,
    SortQuestion = 21,
    Sort = 22,
    Untitled = 23,
    OpenSampleQuestion = 24,
    OpenSample = 25,
    Search = 26,
    SearchAgain = 27,
    DeleteRowQuestion = 28,
    SampleFileName = 29,
};

// Entry n (1..29) in German; empty for other numbers.
QString MessageTable(int n);
// The message's entry in German.
inline QString MessageTable(Message message) {
    return MessageTable(static_cast<int>(message));
}

class Translator;

// Message n translated into the current language. For a number outside 1..29
// nothing happens and text keeps its value; the result says whether it was set.
bool GetMessageText(int n, QString& text, Translator& translator);
bool GetMessageText(int n, QString& text);
// Message n translated; the empty text for a number outside 1..29.
QString GetMessageText(int n);
// The message translated, into the current language or by translator.
QString GetMessageText(Message message);
void GetMessageText(Message message, QString& text, Translator& translator);

// Looks every message up once, 1 to 29, so that each has a row in the table.
void RegisterMessages(Translator& translator);
void RegisterMessages();

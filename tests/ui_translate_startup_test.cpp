// The start in a language, the language menu, and the About box.

#include "AboutBox.h"
#include "DialogAnswerer.h"
#include "LanguageMenu.h"
#include "LayoutSettings.h"
#include "MessageTable.h"
#include "TranslationFile.h"
#include "TranslationStartup.h"
#include "Translator.h"
#include "translate_test_dirs.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// A main window as the program has it: a menu "Sprache", a header text box,
// and the About box created with it but not shown.
struct MiniMain {
    explicit MiniMain(Translator& t) {
        window.setWindowTitle(u"Torvane Quillora 1.0"_qs);
        QMenu* sprache = window.menuBar()->addMenu(u"Sprache"_qs);
        menu = new LanguageMenu(sprache, &window, t);
        header = new QLineEdit(u"Bestellformular"_qs, &window);
        window.setCentralWidget(header);
        about = new AboutBox(&window);
    }
    QMainWindow window;
    LanguageMenu* menu;
    QLineEdit* header;
    AboutBox* about;
};

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { QGuiApplication::setApplicationDisplayName(QString()); }
    void TearDown() override { QGuiApplication::setApplicationDisplayName(QString()); }
    ProgramDirs dirs;
    Translator t;
};

// Guards the German start on an empty table: exactly the 29 messages, then the
// application title, and no window text.
TEST_F(StartupTest, GermanStartAppendsMessagesThenTitleOnly) {
    t.InitTranslation(dirs.ProgPath());
    MiniMain main(t);
    main.menu->LoadOptions(dirs.ProgPath());
    EXPECT_TRUE(main.menu->german->isChecked());
    StartupTranslation(&main.window, t.storedLanguage, t);
    TranslationTable disk;
    ASSERT_EQ(ReadTranslationBytes(ReadAll(dirs.InProg("translate.dat")), disk), kMessageCount + 1);
    for (int n = 1; n <= kMessageCount; ++n)
        EXPECT_EQ(disk.Cell(n - 1, 0), MessageTable(n).trimmed());
    EXPECT_EQ(disk.Cell(kMessageCount, 0), u"Quillora"_qs);
    EXPECT_EQ(main.window.windowTitle(), u"Torvane Quillora 1.0"_qs);
}

// Guards the English start: options.dat holding 1 and a table with English
// texts show every window in English, the About box (not yet shown) included.
TEST_F(StartupTest, EnglishStartShowsEveryWindowInEnglish) {
    ASSERT_TRUE(WriteAll(dirs.InProg("options.dat"), QByteArray("\x01\x00\x00\x00", 4)));
    // First run in English on an empty table collects the window texts.
    t.InitTranslation(dirs.ProgPath());
    {
        MiniMain first(t);
        first.menu->LoadOptions(dirs.ProgPath());
        StartupTranslation(&first.window, t.storedLanguage, t);
    }
    // The user translates every collected text.
    for (int r = 0; r < t.RowCount(); ++r)
        t.SetTranslationCell(r, 1, u"EN "_qs + t.Cell(r, 0));
    ASSERT_TRUE(t.SaveTranslation());
    const int rows = t.RowCount();

    Translator second;
    second.InitTranslation(dirs.ProgPath());
    MiniMain main(second);
    main.menu->LoadOptions(dirs.ProgPath());
    EXPECT_TRUE(main.menu->english->isChecked());
    EXPECT_EQ(second.language, 0);
    EXPECT_EQ(StartupTranslation(&main.window, second.storedLanguage, second), u"EN Quillora"_qs);
    EXPECT_EQ(second.language, 1);
    EXPECT_EQ(second.RowCount(), rows);
    EXPECT_EQ(main.window.windowTitle(), u"EN Torvane Quillora 1.0"_qs);
    EXPECT_EQ(main.window.menuBar()->actions().at(0)->text(), u"EN Sprache"_qs);
    EXPECT_EQ(main.menu->french->text(), u"EN Français"_qs);
    EXPECT_EQ(main.menu->translateItem->text(), u"EN Übersetzen..."_qs);
    EXPECT_EQ(main.header->text(), u"EN Bestellformular"_qs);
    EXPECT_EQ(main.about->windowTitle(), u"EN Info"_qs);
    EXPECT_EQ(main.about->websiteButton->text(), u"EN Besuchen Sie uns im Internet"_qs);
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), u"EN Quillora"_qs);
    QString untitled;
    GetMessageText(Message::Untitled, untitled, second);
    EXPECT_EQ(untitled, u"EN unbenannt"_qs);
}

// Guards the language menu: one exclusive group; choosing English shows the
// restart box already in English, leaves the windows German, and closing
// stores 01 00 00 00.
TEST_F(StartupTest, ChoosingEnglishShowsRestartBoxAndStoresIt) {
    t.InitTranslation(dirs.ProgPath());
    MiniMain main(t);
    main.menu->LoadOptions(dirs.ProgPath());
    StartupTranslation(&main.window, t.storedLanguage, t);
    t.SetTranslationCell(1, 1, u"Please close the program and start it again."_qs);
    t.SetTranslationCell(2, 1, u"Translate"_qs);
    EXPECT_TRUE(main.menu->group->isExclusive());
    EXPECT_EQ(main.menu->group->actions().size(), 4);

    DialogAnswerer box = DialogAnswerer::Press(QMessageBox::Ok);
    main.menu->english->trigger();
    box.Verify();
    EXPECT_EQ(box.Title().toStdString(), "Translate");
    EXPECT_EQ(box.Text().toStdString(), "Please close the program and start it again.");
    EXPECT_TRUE(main.menu->english->isChecked());
    EXPECT_FALSE(main.menu->german->isChecked());
    EXPECT_EQ(t.language, 1);
    EXPECT_EQ(main.window.windowTitle(), u"Torvane Quillora 1.0"_qs);

    ASSERT_TRUE(main.menu->SaveOptions(dirs.ProgPath()));
    EXPECT_EQ(ReadAll(dirs.InProg("options.dat")), QByteArray("\x01\x00\x00\x00", 4));
}

// Guards dontchlang and stored numbers without an entry: checking an entry
// runs no handler, a number outside the languages checks "Deutsch", is kept
// and written back, and never picks a column.
TEST_F(StartupTest, StoredLanguageWithoutEntry) {
    ASSERT_TRUE(WriteAll(dirs.InProg("options.dat"), QByteArray("\x2A\x00\x00\x00", 4)));
    t.InitTranslation(dirs.ProgPath());
    MiniMain main(t);
    main.menu->LoadOptions(dirs.ProgPath());
    EXPECT_EQ(t.storedLanguage, 42);
    EXPECT_TRUE(main.menu->german->isChecked());
    StartupTranslation(&main.window, t.storedLanguage, t);
    EXPECT_EQ(main.window.windowTitle(), u"Torvane Quillora 1.0"_qs);
    main.menu->CheckLanguage(2);
    EXPECT_TRUE(main.menu->french->isChecked());
    EXPECT_EQ(t.language, 42);
    main.menu->dontchlang = true;
    main.menu->ChooseLanguage(3); // no box: a box would block here
    main.menu->dontchlang = false;
    EXPECT_EQ(t.language, 42);
    ASSERT_TRUE(main.menu->SaveOptions(dirs.ProgPath()));
    EXPECT_EQ(ReadAll(dirs.InProg("options.dat")), QByteArray("\x2A\x00\x00\x00", 4));
}

class UrlCatcher : public QObject {
    Q_OBJECT
  public slots:
    void Open(const QUrl& url) { opened << url; }

  public:
    QList<QUrl> opened;
};

// Guards the About box: caption "Info", the current year instead of XXXX, and
// the button opening the maker's address.
TEST(AboutBoxTest, YearAndWebAddress) {
    AboutBox box;
    EXPECT_EQ(box.windowTitle(), u"Info"_qs);
    EXPECT_FALSE(box.copyrightLine->text().contains(u"XXXX"_qs));
    EXPECT_TRUE(box.copyrightLine->text().contains(QString::number(QDate::currentDate().year())));
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(u"https"_qs, &catcher, "Open");
    box.websiteButton->click();
    QDesktopServices::unsetUrlHandler(u"https"_qs);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], QUrl(QString::fromUtf16(kMakerWebAddress)));
}

} // namespace

#include "ui_translate_startup_test.moc"

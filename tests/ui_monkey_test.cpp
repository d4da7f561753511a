// The window after everything a user may do, in any order: seeded random walks
// of user actions checked after every step, and the sequences that once ended
// the program (a view keeping a place of the document across a change of it).
#include "DialogAnswerer.h"
#include "DocumentEdits.h"
#include "FileDialogInput.h"
#include "RecentFiles.h"
#include "ProjectFileController.h"
#include "WindowMonkey.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef QUILLORA_MONKEY_DEFAULT_SEEDS
#define QUILLORA_MONKEY_DEFAULT_SEEDS 4
#endif

namespace {
int EnvNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

void WriteForm(const QString& path, int categories, int fieldsEach) {
    FormDocument form;
    for (int c = 0; c < categories; ++c) {
        AppendCategory(form, QStringLiteral("Kategorie %1").arg(c));
        for (int f = 0; f < fieldsEach; ++f)
            AppendField(form, c, static_cast<FieldKind>(f % 3), QStringLiteral("Feld %1").arg(f),
                        3, 1);
    }
    ASSERT_TRUE(WriteProjectFile(path, form, LayoutSettings{}));
}
} // namespace

class MonkeyTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(prog.isValid() && files.isValid() && config.isValid());
        oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLORA_SOURCE_DIR "/samples/test.qlr"),
                                files.filePath(QStringLiteral("a-sample.qlr"))));
        WriteForm(files.filePath(QStringLiteral("b-one.qlr")), 1, 2);
        WriteForm(files.filePath(QStringLiteral("c-empty.qlr")), 0, 0);
        WriteForm(files.filePath(QStringLiteral("d-three.qlr")), 3, 4);
    }
    void TearDown() override {
        if (oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    QString File(const char* name) const { return files.filePath(QString::fromLatin1(name)); }

    QTemporaryDir prog, files, config;
    QByteArray oldConfig;
};

// Guards against any fault a user meets by a combination of actions no other test tried.
TEST_F(MonkeyTest, RandomWalksKeepTheWindowConsistent) {
    const int seeds = EnvNumber("QUILLORA_MONKEY_SEEDS", QUILLORA_MONKEY_DEFAULT_SEEDS);
    const int steps = EnvNumber("QUILLORA_MONKEY_STEPS", 300);
    const int first = EnvNumber("QUILLORA_MONKEY_SEED", 1);
    WindowMonkey monkey(prog.path(), files.path());
    int run = 0, edits = 0;
    for (int seed = first; seed < first + seeds; ++seed) {
        const auto walk = WindowMonkey::Walk(static_cast<quint32>(seed), steps);
        const WindowMonkey::Outcome outcome = monkey.Run(walk);
        run += outcome.stepsRun;
        edits += outcome.edits;
        if (!outcome.failed()) continue;
        QString shortest;
        for (const MonkeyStep& s : monkey.Shrink(walk))
            shortest += QStringLiteral("\n  ") + WindowMonkey::Describe(s);
        ADD_FAILURE() << "seed " << seed << ", step " << outcome.failedAt + 1 << ": "
                      << outcome.reason.toStdString() << "\nshortest failing steps:"
                      << shortest.toStdString();
    }
    std::printf("monkey: %d steps over %d seeds from %d, %d changes of the document\n", run, seeds,
                first, edits);
    EXPECT_GT(edits, run / 10) << "the walk hardly changed the document";
}

namespace {
// The window in a given state: a tab shown, the page beside the lists shown or not.
struct Setting {
    int tab;
    bool pageView;
};

class SequenceTest : public MonkeyTest {
  public:
    void Open(const QString& path) {
        window = std::make_unique<MainWindow>(prog.path(), QStringList{});
        window->resize(900, 650);
        window->show();
        window->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        window->activateWindow(); // its shortcuts take the keys
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(window->files().LoadProject(path));
    }
    void Apply(const Setting& s) {
        auto* pageView = window->findChild<QAction*>(QStringLiteral("Seitenansicht1"));
        if (pageView->isChecked() != s.pageView) pageView->trigger();
        auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(s.tab).center());
    }
    void SelectLast() {
        Document& doc = window->document();
        const int c = doc.CategoryCount() - 1;
        window->Fields()->SelectCategory(c);
        window->Fields()->SelectFields({doc.FieldCount(c) - 1});
    }
    void Keys(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(window.get(), key, modifiers);
        QApplication::processEvents();
    }
    void ExpectConsistent(const std::string& when) {
        QApplication::processEvents();
        EXPECT_EQ(WindowMonkey::Check(*window).toStdString(), "") << when;
    }
    std::unique_ptr<MainWindow> window;
};
} // namespace

// Guards against a view keeping a place of the document across "Neu", an open,
// a drop, a recent file or a removal, and against undo and redo of them.
TEST_F(SequenceTest, PlacesSurviveEveryChangeOfTheDocument) {
    const std::pair<const char*, std::function<void(SequenceTest&)>> sequences[] = {
        {"Neu with the last field selected",
         [](SequenceTest& t) {
             DialogAnswerer no = DialogAnswerer::Press(QMessageBox::No);
             t.Keys(Qt::Key_N, Qt::ControlModifier);
         }},
        {"Öffnen... of a project with fewer categories",
         [](SequenceTest& t) {
             DialogAnswerer answers({DialogAnswerer::PressAnswer(QMessageBox::No), [&t](QWidget* w) {
                                         TypeFileName(qobject_cast<QFileDialog*>(w), t.File("b-one.qlr"));
                                     }});
             t.Keys(Qt::Key_O, Qt::ControlModifier);
         }},
        {"a recently opened project with fewer categories",
         [](SequenceTest& t) {
             t.window->files().recentFiles()->Add(t.File("b-one.qlr"));
             auto* menu = t.window->findChild<QMenu*>(QStringLiteral("ZuletztGeoeffnet1"));
             emit menu->aboutToShow();
             DialogAnswerer no = DialogAnswerer::Press(QMessageBox::No);
             for (QAction* a : menu->actions())
                 if (a->text().contains(QStringLiteral("b-one"))) {
                     a->trigger();
                     break;
                 }
         }},
        {"an empty project dropped on the window",
         [](SequenceTest& t) {
             QMimeData data;
             data.setUrls({QUrl::fromLocalFile(t.File("c-empty.qlr"))});
             QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
             QApplication::sendEvent(t.window.get(), &enter);
             QDropEvent drop(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
             DialogAnswerer no = DialogAnswerer::Press(QMessageBox::No);
             QApplication::sendEvent(t.window.get(), &drop);
         }},
        {"the last category deleted",
         [](SequenceTest& t) {
             DialogAnswerer yes = DialogAnswerer::Press(QMessageBox::Yes);
             QTest::mouseClick(t.window->findChild<QPushButton*>(QStringLiteral("KategorieLoechenBtn")),
                               Qt::LeftButton);
         }},
        {"the last field deleted",
         [](SequenceTest& t) {
             QTest::mouseClick(t.window->findChild<QPushButton*>(QStringLiteral("ProduktLoeschenBtn")),
                               Qt::LeftButton);
         }},
    };
    const Setting settings[] = {{0, true}, {0, false}, {1, true}, {2, true}, {3, false}, {4, true}, {5, false}};
    for (const auto& [name, act] : sequences)
        for (const Setting& s : settings) {
            const std::string when = std::string(name) + ", tab " + std::to_string(s.tab) +
                                     (s.pageView ? ", page shown" : ", page hidden");
            Open(File("d-three.qlr"));
            SelectLast();
            Apply(s);
            act(*this);
            ExpectConsistent(when);
            Keys(Qt::Key_Z, Qt::ControlModifier);
            ExpectConsistent(when + ", undone");
            Keys(Qt::Key_Y, Qt::ControlModifier);
            ExpectConsistent(when + ", redone");
            window->document().MarkUnchanged();
            window.reset();
        }
}

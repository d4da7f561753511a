// Reading the command line: the table of options, the one parser and its error texts.
#include "CommandLineExport.h"
#include "OptionName.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kMaxCopies = 999;

// ---- The error texts of the command line, all in one place.

QString Dashed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString UnknownOption(const QString& name) {
    return QStringLiteral("Unknown option \"%1\".").arg(Dashed(name));
}

QString NotAWholeNumber(const char* option, int low, int high, const QString& text) {
    return QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\".")
        .arg(QLatin1String(option))
        .arg(low)
        .arg(high)
        .arg(text);
}

QString GiveOnce(const char* option) {
    return QStringLiteral("Give --%1 once.").arg(QLatin1String(option));
}

// "--a", "--a or --b", "--a, --b or --c".
QString OneOf(const QStringList& names, const QString& lastJoin) {
    if (names.size() < 2) return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + lastJoin + names.last();
}

QString CommandNames() {
    QStringList names;
    for (const CommandLineCommand& c : CommandLineCommands())
        names << Dashed(QLatin1String(c.name));
    return names.join(QStringLiteral(", "));
}

// ---- The options, one row each: the name, the value's name and how it is read.

using OptionReader = bool (*)(const QString& value, CommandOptions& o, QString& error);

struct CommandLineOption {
    const char* name;
    const char* valueName; // nullptr: a switch
    OptionReader read;
};

template <int CommandOptions::*field, int low, int high>
bool ReadInt(const char* option, const QString& text, CommandOptions& o, QString& error) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) {
        error = NotAWholeNumber(option, low, high, text);
        return false;
    }
    o.*field = v;
    return true;
}

bool ReadPaper(const QString& text, CommandOptions& o, QString& error) {
    for (const char* name : {"A4", "A5", "Letter"})
        if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            o.paper = text;
            return true;
        }
    error = QStringLiteral("--paper is A4, A5 or Letter, not \"%1\".").arg(text);
    return false;
}

bool ReadZoom(const QString& text, CommandOptions& o, QString& error) {
    bool number = false;
    const double z = text.toDouble(&number);
    if (!number || !std::isfinite(z) || z < 1 || z > 1000) {
        error = QStringLiteral("--zoom takes a number from 1 to 1000, not \"%1\".").arg(text);
        return false;
    }
    o.zoom = z;
    return true;
}

bool ReadPrinter(const QString& text, CommandOptions& o, QString& error) {
    if (text.trimmed().isEmpty()) {
        error = QStringLiteral("--printer needs the name of a print queue.");
        return false;
    }
    o.printer = text;
    return true;
}

bool ReadSeparator(const QString& s, CommandOptions& o, QString& error) {
    if (s.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0 || s == QLatin1String("\\t")) {
        o.separator = QLatin1Char('\t');
        return true;
    }
    if (s.size() == 1 && s[0] != QLatin1Char('"') && s[0] != QLatin1Char('\r') &&
        s[0] != QLatin1Char('\n')) {
        o.separator = s[0];
        return true;
    }
    error = QStringLiteral("--separator takes one character (not a quote or a line "
                           "break) or \"tab\", not \"%1\".")
                .arg(s);
    return false;
}

bool ReadMarks(const QString&, CommandOptions& o, QString&) {
    o.marks = true;
    return true;
}

const CommandLineOption kOptions[] = {
    {"printer-dpi", "N",
     [](const QString& t, CommandOptions& o, QString& e) {
         return ReadInt<&CommandOptions::printerDpi, 72, 2400>("printer-dpi", t, o, e);
     }},
    {"paper", "NAME", ReadPaper},
    {"page", "N",
     [](const QString& t, CommandOptions& o, QString& e) {
         return ReadInt<&CommandOptions::page, 1, 100000>("page", t, o, e);
     }},
    {"zoom", "Z", ReadZoom},
    {"dpi", "D",
     [](const QString& t, CommandOptions& o, QString& e) {
         return ReadInt<&CommandOptions::dpi, 24, 2400>("dpi", t, o, e);
     }},
    {"marks", nullptr, ReadMarks},
    {"printer", "NAME", ReadPrinter},
    {"copies", "N",
     [](const QString& t, CommandOptions& o, QString& e) {
         return ReadInt<&CommandOptions::copies, 1, kMaxCopies>("copies", t, o, e);
     }},
    {"separator", "C", ReadSeparator},
};

QStringList Words(const char* list) {
    return QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// ---- The parser.

// Every option and every command, known to one QCommandLineParser.
struct Grammar {
    QCommandLineParser parser;
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")}};
    std::vector<QCommandLineOption> options, commands;

    Grammar() {
        // "-page 2" reads as "--page 2"; short options are not bundled.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({help, version});
        for (const CommandLineOption& row : kOptions)
            options.emplace_back(Option(row.name, row.valueName));
        for (const CommandLineCommand& row : CommandLineCommands())
            commands.emplace_back(Option(row.name, row.valueName));
        for (const auto* list : {&options, &commands})
            for (const QCommandLineOption& option : *list)
                parser.addOption(option);
    }
    static QCommandLineOption Option(const char* name, const char* valueName) {
        return valueName
                   ? QCommandLineOption(QLatin1String(name), QString(), QLatin1String(valueName))
                   : QCommandLineOption(QLatin1String(name));
    }
    // How often the option was given.
    qsizetype Count(const QCommandLineOption& option, bool takesValue) {
        if (takesValue) return parser.values(option).size();
        return parser.isSet(option) ? 1 : 0;
    }
};

// The one command named; false with error set for none or more than one.
bool FindCommand(Grammar& g, CommandLineParse& result, const CommandLineCommand*& command) {
    qsizetype named = 0;
    const auto rows = CommandLineCommands();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const qsizetype count = g.Count(g.commands[i], rows[i].valueName != nullptr);
        if (count == 0) continue;
        named += count;
        command = &rows[i];
        result.options.mode = rows[i].mode;
        if (rows[i].valueName) result.options.output = g.parser.value(g.commands[i]);
    }
    if (named == 1) return true;
    result.options.mode = CommandOptions::Mode::Help;
    result.error = named == 0 ? QStringLiteral("Give one of %1.").arg(CommandNames())
                              : QStringLiteral("Give only one of %1.").arg(CommandNames());
    return false;
}

// "--marks goes with --print-pdf or --print."
QString NotWithCommand(const char* option) {
    QStringList commands;
    for (const CommandLineCommand& c : CommandLineCommands())
        if (Words(c.options).contains(QLatin1String(option)))
            commands << Dashed(QLatin1String(c.name));
    return QStringLiteral("--%1 goes with %2.")
        .arg(QLatin1String(option), OneOf(commands, QStringLiteral(" or ")));
}

// The values of the options given: each given once, and only with a command it goes with.
bool ReadOptions(Grammar& g, const CommandLineCommand& command, CommandLineParse& result) {
    const QStringList allowed = Words(command.options);
    for (std::size_t i = 0; i < std::size(kOptions); ++i) {
        const CommandLineOption& row = kOptions[i];
        const qsizetype count = g.Count(g.options[i], row.valueName != nullptr);
        if (count == 0) continue;
        if (!allowed.contains(QLatin1String(row.name))) {
            result.error = NotWithCommand(row.name);
            return false;
        }
        if (count > 1) {
            result.error = GiveOnce(row.name);
            return false;
        }
        const QString value = row.valueName ? g.parser.value(g.options[i]) : QString();
        if (!row.read(value, result.options, result.error)) return false;
    }
    for (const QString& name : Words(command.required)) {
        const auto row =
            std::find_if(std::begin(kOptions), std::end(kOptions),
                         [&](const CommandLineOption& o) { return name == QLatin1String(o.name); });
        if (g.Count(g.options[row - std::begin(kOptions)], row->valueName != nullptr) == 0) {
            result.error =
                QStringLiteral("--%1 needs --%2 %3.")
                    .arg(QLatin1String(command.name), name, QLatin1String(row->valueName));
            return false;
        }
    }
    return true;
}

// The project file and, for a command that reads inputs, the inputs after it.
bool ReadFiles(const QStringList& files, const CommandLineCommand& command, CommandOptions& o,
               QString& error) {
    if (command.readsInputs && files.size() < 2) {
        error = files.isEmpty() ? QStringLiteral("No project file and no input given.")
                                : QStringLiteral("No input given: name filled-in PDF files or "
                                                 "folders after the project file.");
        return false;
    }
    if (!command.readsInputs && files.size() != 1) {
        error = files.isEmpty() ? QStringLiteral("No project file given.")
                                : QStringLiteral("Give exactly one project file.");
        return false;
    }
    o.project = files.first();
    o.inputs = files.mid(1);
    return true;
}

// Writing the output over the project file or an input would lose it.
bool OutputIsNoFileRead(const QStringList& files, const CommandOptions& o, QString& error) {
    const QFileInfo output(o.output);
    if (o.output.isEmpty() || !output.exists()) return true;
    for (const QString& file : files) {
        const QFileInfo read(file);
        if (!read.exists() || read.canonicalFilePath() != output.canonicalFilePath()) continue;
        error =
            file == files.first()
                ? QStringLiteral("The output file \"%1\" is the project file.").arg(o.output)
                : QStringLiteral("The output file \"%1\" is one of the files read.").arg(o.output);
        return false;
    }
    return true;
}

// The toolkit's own options, which the window takes (-platform xcb, -style
// Fusion, ...), with whether each one takes the next argument as its value.
// Either one or two dashes.
bool IsToolkitOption(const QString& argument, bool* takesValue) {
    static const QStringList withValue = {
        QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("geometry"),
        QStringLiteral("qwindowtitle"),    QStringLiteral("title"),
        QStringLiteral("qwindowicon"),     QStringLiteral("icon"),
        QStringLiteral("display"),         QStringLiteral("name"),
        QStringLiteral("style"),           QStringLiteral("stylesheet"),
        QStringLiteral("session"),         QStringLiteral("qmljsdebugger")};
    static const QStringList plain = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                      QStringLiteral("sync"), QStringLiteral("nograb"),
                                      QStringLiteral("dograb")};
    // -style=Fusion carries its value.
    bool inlineValue = false;
    const QString name = OptionName(argument, &inlineValue);
    if (name.isEmpty()) return false;
    *takesValue = false;
    if (withValue.contains(name)) {
        *takesValue = !inlineValue;
        return true;
    }
    return !inlineValue && plain.contains(name);
}

} // namespace

bool IsCommandLineExport(const QStringList& arguments) {
    // Only an option in the first place selects the command line: "quillora
    // form.qlr -h" opens form.qlr in the window.
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        bool takesValue = false;
        if (IsToolkitOption(a, &takesValue)) {
            if (takesValue) ++i;
            continue;
        }
        return a.size() > 1 && a.startsWith(QLatin1Char('-'));
    }
    return false;
}

bool IsCommandLineExport(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return IsCommandLineExport(arguments);
}

QString ExportUsage() {
    QString usage = QStringLiteral("Usage:\n"
                                   "  quillora [FILE.qlr]\n"
                                   "      Opens the window, with the project file if one is "
                                   "given.\n");
    for (const CommandLineCommand& command : CommandLineCommands())
        usage += QString::fromUtf8(command.usage);
    usage += QStringLiteral(
        "  quillora --help\n"
        "      Shows this text.\n"
        "  quillora --version\n"
        "      Shows the program's name and version.\n"
        "A project file that cannot be read, a damaged one or a page beyond the end\n"
        "ends the program with a message and exit status 1; wrong options give status 2.\n"
        "--collect gives status 3 when some inputs were not taken.\n");
    return usage;
}

CommandLineParse ParseCommandLine(const QStringList& args) {
    CommandLineParse result;
    Grammar g;
    const bool parsed = g.parser.parse(QStringList{QStringLiteral("quillora")} + args);
    // The help and the version win over everything else.
    if (g.parser.isSet(g.help) || g.parser.isSet(g.version)) {
        result.options.mode =
            g.parser.isSet(g.help) ? CommandOptions::Mode::Help : CommandOptions::Mode::Version;
        result.ok = true;
        return result;
    }
    if (!parsed) {
        const QStringList unknown = g.parser.unknownOptionNames();
        result.error = unknown.isEmpty() ? g.parser.errorText() : UnknownOption(unknown.first());
        return result;
    }
    const CommandLineCommand* command = nullptr;
    if (!FindCommand(g, result, command) || !ReadOptions(g, *command, result)) return result;
    const QStringList files = g.parser.positionalArguments();
    if (!ReadFiles(files, *command, result.options, result.error) ||
        !OutputIsNoFileRead(files, result.options, result.error))
        return result;
    result.ok = true;
    return result;
}

// Reading the command line: which mode it asks for, and the export's options.
#include "CollectCommand.h"
#include "CommandLineExport.h"
#include "CommandLinePrint.h"
#include "OptionName.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cmath>
#include <vector>

namespace {

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

QString Dashed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// A whole number from low to high as the value of option; false with error set.
bool CheckInt(const QString& option, const QString& text, int low, int high, int& value,
              QString& error) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) {
        error = QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\".")
                    .arg(option)
                    .arg(low)
                    .arg(high)
                    .arg(text);
        return false;
    }
    value = v;
    return true;
}

bool IsPaper(const QString& paper) {
    for (const char* name : {"A4", "A5", "Letter"})
        if (paper.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
    return false;
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
    for (const ExportCommand& command : ExportCommands())
        usage += QString::fromUtf8(command.usage);
    usage += PrintCommandUsage();
    usage += QString::fromUtf8(kCollectUsage);
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

ExportParse ParseExportArguments(const QStringList& args) {
    ExportParse result;
    ExportOptions& o = result.options;
    QCommandLineParser parser;
    // "-page 2" reads as "--page 2"; short options are not bundled.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption printerDpi(QStringLiteral("printer-dpi"), QString(),
                                        QStringLiteral("N"));
    const QCommandLineOption paper(QStringLiteral("paper"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption page(QStringLiteral("page"), QString(), QStringLiteral("N"));
    const QCommandLineOption zoom(QStringLiteral("zoom"), QString(), QStringLiteral("Z"));
    const QCommandLineOption dpi(QStringLiteral("dpi"), QString(), QStringLiteral("D"));
    const QCommandLineOption marks(QStringLiteral("marks"));
    parser.addOptions({help, version, printerDpi, paper, page, zoom, dpi, marks});
    std::vector<QCommandLineOption> modes;
    QStringList modeNames;
    for (const ExportCommand& command : ExportCommands()) {
        modes.emplace_back(QString::fromLatin1(command.option), QString(),
                           QString::fromLatin1(command.valueName));
        parser.addOption(modes.back());
        modeNames << Dashed(QString::fromLatin1(command.option));
    }
    const bool parsed = parser.parse(QStringList{QStringLiteral("quillora")} + args);
    // The help and the version win over everything else.
    if (parser.isSet(help) || parser.isSet(version)) {
        o.mode = parser.isSet(help) ? ExportOptions::Mode::Help : ExportOptions::Mode::Version;
        result.ok = true;
        return result;
    }
    if (!parsed) {
        const QStringList unknown = parser.unknownOptionNames();
        result.error = unknown.isEmpty()
                           ? parser.errorText()
                           : QStringLiteral("Unknown option \"%1\".").arg(Dashed(unknown.first()));
        return result;
    }

    int modeCount = 0;
    for (std::size_t i = 0; i < modes.size(); ++i) {
        const QStringList outputs = parser.values(modes[i]);
        if (outputs.isEmpty()) continue;
        modeCount += static_cast<int>(outputs.size());
        o.mode = ExportCommands()[i].mode;
        o.output = outputs.first();
    }
    if (modeCount > 1) {
        result.error = QStringLiteral("Give only one of %1.").arg(modeNames.join(u", "));
        return result;
    }
    if (modeCount == 0) {
        result.error = QStringLiteral("Give one of %1.").arg(modeNames.join(u", "));
        return result;
    }
    QString& error = result.error;
    if (parser.isSet(printerDpi) && !CheckInt(printerDpi.names().first(), parser.value(printerDpi),
                                              72, 2400, o.printerDpi, error))
        return result;
    if (parser.isSet(paper)) {
        o.paper = parser.value(paper);
        if (!IsPaper(o.paper)) {
            error = QStringLiteral("--paper is A4, A5 or Letter, not \"%1\".").arg(o.paper);
            return result;
        }
    }
    const bool havePage = parser.isSet(page);
    if (havePage && !CheckInt(page.names().first(), parser.value(page), 1, 100000, o.page, error))
        return result;
    if (parser.isSet(zoom)) {
        const QString text = parser.value(zoom);
        bool number = false;
        const double z = text.toDouble(&number);
        if (!number || !std::isfinite(z) || z < 1 || z > 1000) {
            error = QStringLiteral("--zoom takes a number from 1 to 1000, not \"%1\".").arg(text);
            return result;
        }
        o.zoom = z;
    }
    if (parser.isSet(dpi) &&
        !CheckInt(dpi.names().first(), parser.value(dpi), 24, 2400, o.dpi, error))
        return result;

    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        error = files.isEmpty() ? QStringLiteral("No project file given.")
                                : QStringLiteral("Give exactly one project file.");
        return result;
    }
    o.project = files.first();
    // Writing the output over the project file would lose the document.
    const QFileInfo project(o.project), output(o.output);
    if (project.exists() && output.exists() &&
        project.canonicalFilePath() == output.canonicalFilePath()) {
        error = QStringLiteral("The output file \"%1\" is the project file.").arg(o.output);
        return result;
    }
    o.marks = parser.isSet(marks);
    if (o.marks && o.mode != ExportOptions::Mode::PrintPdf) {
        error = QStringLiteral("--marks goes with --print-pdf or --print.");
        return result;
    }
    if (o.mode == ExportOptions::Mode::RenderPng && !havePage) {
        error = QStringLiteral("--render-png needs --page N.");
        return result;
    }
    result.ok = true;
    return result;
}

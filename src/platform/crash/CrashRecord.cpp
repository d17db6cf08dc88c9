#include "platform/crash/CrashRecord.h"

#include "platform/crash/ElfSymbolizer.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <memory>
#include <sys/stat.h>

namespace {

constexpr const char* formatLine = "glintext-crash-record 1";

struct Mapping {
    quint64 start = 0;
    quint64 end = 0;
    quint64 offset = 0;
    quint64 inode = 0;
    QString path;
};

struct Parsed {
    QHash<QByteArray, QByteArray> fields;
    QList<quint64> frames;
    QList<Mapping> maps;
};

// "start-end perms offset dev inode path"
std::optional<Mapping> parseMapping(const QByteArray& line) {
    const QList<QByteArray> parts = line.simplified().split(' ');
    if (parts.size() < 6)
        return std::nullopt;
    const QList<QByteArray> range = parts[0].split('-');
    if (range.size() != 2)
        return std::nullopt;
    Mapping map;
    bool ok[4] = {};
    map.start = range[0].toULongLong(&ok[0], 16);
    map.end = range[1].toULongLong(&ok[1], 16);
    map.offset = parts[2].toULongLong(&ok[2], 16);
    map.inode = parts[4].toULongLong(&ok[3]);
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || !parts[5].startsWith('/'))
        return std::nullopt;
    map.path = QString::fromLocal8Bit(parts.mid(5).join(' '));
    return map;
}

Parsed parse(const QByteArray& record) {
    Parsed parsed;
    enum { Fields, Frames, Maps } section = Fields;
    for (const QByteArray& line : record.split('\n')) {
        if (section == Fields && line == "frames") {
            section = Frames;
        } else if (line == "maps") {
            section = Maps;
        } else if (section == Fields) {
            const qsizetype space = line.indexOf(' ');
            if (space > 0)
                parsed.fields.insert(line.left(space), line.mid(space + 1));
        } else if (section == Frames) {
            bool ok = false;
            const quint64 address = line.toULongLong(&ok, 16);
            if (ok)
                parsed.frames.append(address);
        } else if (std::optional<Mapping> map = parseMapping(line)) {
            parsed.maps.append(*map);
        }
    }
    return parsed;
}

QString signalName(int signal) {
    switch (signal) {
    case SIGSEGV:
        return QStringLiteral("SIGSEGV");
    case SIGBUS:
        return QStringLiteral("SIGBUS");
    case SIGILL:
        return QStringLiteral("SIGILL");
    case SIGFPE:
        return QStringLiteral("SIGFPE");
    case SIGABRT:
        return QStringLiteral("SIGABRT");
    default:
        return QStringLiteral("signal %1").arg(signal);
    }
}

QString terminationReason(int signal, const QHash<QByteArray, QByteArray>& fields) {
    QString reason = QStringLiteral("%1 (signal %2)").arg(signalName(signal)).arg(signal);
    const int code = fields.value("code").toInt();
    if (code <= 0) // SI_USER, SI_TKILL, SI_QUEUE: sent, not a fault of its own
        return reason + QStringLiteral(", sent by process %1")
                            .arg(QString::fromLatin1(fields.value("sender", "?")));
    return reason + QStringLiteral(", code %1, address %2")
                        .arg(code)
                        .arg(QString::fromLatin1(fields.value("address", "?")));
}

// The file still is the binary that crashed (same inode), so its symbols apply.
bool sameFile(const Mapping& map) {
    struct stat st {};
    return ::stat(QFile::encodeName(map.path).constData(), &st) == 0 && st.st_ino == map.inode;
}

QJsonObject frame(int index, quint64 address, const QList<Mapping>& maps,
                  QHash<QString, std::shared_ptr<ElfSymbolizer>>& symbolizers) {
    QJsonObject object{{"index", index}, {"address", QStringLiteral("0x%1").arg(address, 0, 16)}};
    for (const Mapping& map : maps) {
        if (address < map.start || address >= map.end)
            continue;
        const quint64 fileOffset = address - map.start + map.offset;
        object.insert("binaryName", QFileInfo(map.path).fileName());
        object.insert("binaryPath", map.path);
        object.insert("offsetIntoBinary", qint64(fileOffset));
        if (!symbolizers.contains(map.path))
            symbolizers.insert(map.path,
                               sameFile(map) ? std::make_shared<ElfSymbolizer>(map.path) : nullptr);
        // A return address points after the call: look up the call itself.
        const quint64 lookup = index > 0 && fileOffset > 0 ? fileOffset - 1 : fileOffset;
        if (const auto& symbols = symbolizers.value(map.path)) {
            if (const std::optional<ElfSymbolizer::Symbol> symbol = symbols->symbolAt(lookup)) {
                object.insert("symbol", symbol->name);
                object.insert("symbolOffset", qint64(symbol->offset));
            }
        }
        break;
    }
    return object;
}

} // namespace

namespace CrashRecord {

QByteArray header(const QString& osVersion, const QString& architecture) {
    auto oneLine = [](const QString& text) { return text.simplified().toUtf8(); };
    return QByteArray(formatLine) + "\nos " + oneLine(osVersion) + "\narch " +
           oneLine(architecture) + "\n";
}

CrashDiagnostic diagnostic(const QByteArray& record) {
    const Parsed parsed = parse(record);
    CrashDiagnostic diagnostic;
    diagnostic.osVersion = QString::fromUtf8(parsed.fields.value("os"));
    diagnostic.architecture = QString::fromUtf8(parsed.fields.value("arch"));
    bool ok = false;
    const int signal = parsed.fields.value("signal").toInt(&ok);
    if (ok) {
        diagnostic.signal = signal;
        diagnostic.terminationReason = terminationReason(signal, parsed.fields);
    }
    QHash<QString, std::shared_ptr<ElfSymbolizer>> symbolizers;
    QJsonArray frames;
    for (int i = 0; i < parsed.frames.size(); ++i)
        frames.append(frame(i, parsed.frames[i], parsed.maps, symbolizers));
    const QJsonObject thread{{"threadAttributed", true}, {"callStackFrames", frames}};
    const QJsonObject tree{{"callStackPerThread", true}, {"callStacks", QJsonArray{thread}}};
    diagnostic.callStack = QJsonDocument(tree).toJson(QJsonDocument::Compact);
    return diagnostic;
}

} // namespace CrashRecord

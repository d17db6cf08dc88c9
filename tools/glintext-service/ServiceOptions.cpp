#include "ServiceOptions.h"

#include <QCommandLineParser>

namespace {

struct OptionSet {
    QCommandLineOption db{"db", "SQLite file or postgresql://user@host/db address.", "path-or-url"};
    QCommandLineOption listen{"listen", "Address to listen on (default 127.0.0.1).", "address"};
    QCommandLineOption port{"port", "Port (default 8787; 0 picks a free one).", "port"};
    QCommandLineOption quota{"quota", "High-accuracy requests per account per day (default 50).",
                             "n"};
    QCommandLineOption printPort{"print-port", "Print the port on standard output once listening."};
    QCommandLineOption testControls{"test-controls",
                                    "Enable the /test/ controls for loopback clients."};
    QCommandLineOption tlsCert{"tls-cert", "PEM certificate for HTTPS.", "file"};
    QCommandLineOption tlsKey{"tls-key", "PEM private key for HTTPS.", "file"};
    QCommandLineOption languages{
        "languages", "Tesseract languages always read, '+'-separated (default eng).", "langs"};
    QCommandLineOption appcast{"appcast", "JSON file with the update feed's items.", "file"};
    QCommandLineOption scheme{"callback-scheme", "URL scheme of the sign-in callback.", "scheme"};

    QList<QCommandLineOption> all() const {
        return {db,      listen, port,      quota,   printPort, testControls,
                tlsCert, tlsKey, languages, appcast, scheme};
    }
};

void describe(QCommandLineParser& parser, const OptionSet& options) {
    parser.setApplicationDescription("Reference implementation of the Glintext web service.");
    parser.addHelpOption();
    parser.addOptions(options.all());
}

std::optional<QHostAddress> listenAddress(const QString& text) {
    if (text == "localhost")
        return QHostAddress(QHostAddress::LocalHost);
    QHostAddress address;
    if (!address.setAddress(text))
        return std::nullopt;
    return address;
}

bool readNumber(const QString& text, int min, int max, int* out) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max)
        return false;
    *out = value;
    return true;
}

} // namespace

std::optional<ServiceOptions> ServiceOptions::parse(const QStringList& arguments, QString* error,
                                                    bool* help) {
    QCommandLineParser parser;
    const OptionSet set;
    describe(parser, set);
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    *help = parser.isSet("help");
    if (!parser.positionalArguments().isEmpty()) {
        *error = "unexpected argument: " + parser.positionalArguments().first();
        return std::nullopt;
    }
    ServiceOptions options;
    const auto database = DatabaseLocation::parse(
        parser.isSet(set.db) ? parser.value(set.db) : DatabaseLocation::defaultSqlitePath(), error);
    if (!database)
        return std::nullopt;
    options.database = *database;
    if (parser.isSet(set.listen)) {
        const auto address = listenAddress(parser.value(set.listen));
        if (!address) {
            *error = "not an IP address: " + parser.value(set.listen);
            return std::nullopt;
        }
        options.listen = *address;
    }
    int port = options.port;
    if (parser.isSet(set.port) && !readNumber(parser.value(set.port), 0, 65535, &port)) {
        *error = "--port takes a number from 0 to 65535";
        return std::nullopt;
    }
    options.port = quint16(port);
    if (parser.isSet(set.quota) &&
        !readNumber(parser.value(set.quota), 0, 1000000, &options.quota)) {
        *error = "--quota takes a number from 0 to 1000000";
        return std::nullopt;
    }
    options.printPort = parser.isSet(set.printPort);
    options.testControls = parser.isSet(set.testControls);
    options.tlsCert = parser.value(set.tlsCert);
    options.tlsKey = parser.value(set.tlsKey);
    if (options.tlsCert.isEmpty() != options.tlsKey.isEmpty()) {
        *error = "--tls-cert and --tls-key go together";
        return std::nullopt;
    }
    if (!options.listen.isLoopback() && options.tlsCert.isEmpty()) {
        *error = "listening on " + options.listen.toString() +
                 " needs --tls-cert and --tls-key: plain HTTP is for loopback only";
        return std::nullopt;
    }
    if (parser.isSet(set.languages))
        options.languages = parser.value(set.languages).split('+', Qt::SkipEmptyParts);
    options.appcastFile = parser.value(set.appcast);
    options.callbackScheme = parser.value(set.scheme);
    return options;
}

QString ServiceOptions::usage() {
    QCommandLineParser parser;
    const OptionSet set;
    describe(parser, set);
    return parser.helpText();
}

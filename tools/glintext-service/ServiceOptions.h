#pragma once

#include "DatabaseLocation.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of glintext-service.
struct ServiceOptions {
    DatabaseLocation database;
    QHostAddress listen = QHostAddress::LocalHost;
    quint16 port = 8787;
    int quota = 50;
    bool printPort = false;
    bool testControls = false;
    QString tlsCert;
    QString tlsKey;
    QStringList languages{"eng"};
    QString appcastFile;
    QString callbackScheme;

    // Options from `arguments` (argv without the program name is fine too); nothing, with
    // `error` set, for a bad command line. `help` is set for --help.
    static std::optional<ServiceOptions> parse(const QStringList& arguments, QString* error,
                                               bool* help);
    static QString usage();
};

#include "ServiceApp.h"

#include "StorageError.h"

#include <QFile>
#include <QJsonDocument>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

#include <cstdio>

namespace {

void complain(const QString& message) {
    std::fprintf(stderr, "glintext-service: %s\n", qPrintable(message));
}

} // namespace

ServiceApp::ServiceApp(const ServiceOptions& options)
    : options_(options), store_(options.database), clock_(store_, options.testControls),
      auth_(store_), router_(store_, auth_, clock_, options.testControls),
      accounts_(store_, clock_, auth_, options.callbackScheme),
      ocr_(store_, clock_, auth_, options.quota, options.languages), sync_(store_, clock_, auth_),
      reports_(store_, clock_, auth_), appcast_(store_), testControls_(store_, clock_, appcast_),
      server_(router_) {
    accounts_.addRoutes(router_);
    ocr_.addRoutes(router_);
    sync_.addRoutes(router_);
    reports_.addRoutes(router_);
    appcast_.addRoutes(router_);
    if (options.testControls)
        testControls_.addRoutes(router_);
}

bool ServiceApp::start() {
    try {
        store_.open();
    } catch (const StorageError& error) {
        complain(QString::fromUtf8(error.what()));
        return false;
    }
    if (!loadAppcastFile())
        return false;
    std::optional<QSslConfiguration> tls;
    if (!tlsConfiguration(&tls))
        return false;
    QString error;
    const quint16 port = server_.start(options_.listen, options_.port, tls, &error);
    if (port == 0) {
        complain(QString("cannot listen on %1:%2: %3")
                     .arg(options_.listen.toString())
                     .arg(options_.port)
                     .arg(error));
        return false;
    }
    if (options_.printPort) {
        std::printf("%u\n", unsigned(port));
        std::fflush(stdout);
    }
    qInfo().noquote() << QString("glintext-service: listening on %1://%2:%3, database %4%5")
                             .arg(tls ? "https" : "http", options_.listen.toString())
                             .arg(port)
                             .arg(options_.database.describe(),
                                  options_.testControls ? ", test controls on" : "");
    return true;
}

bool ServiceApp::loadAppcastFile() {
    if (options_.appcastFile.isEmpty())
        return true;
    QFile file(options_.appcastFile);
    if (!file.open(QIODevice::ReadOnly)) {
        complain("cannot read " + options_.appcastFile + ": " + file.errorString());
        return false;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    QString error;
    const auto items = AppcastFeed::parse(
        document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()), &error);
    if (!items) {
        complain(options_.appcastFile + ": " + error);
        return false;
    }
    try {
        appcast_.setItems(*items);
    } catch (const StorageError& failure) {
        complain(QString::fromUtf8(failure.what()));
        return false;
    }
    return true;
}

bool ServiceApp::tlsConfiguration(std::optional<QSslConfiguration>* tls) {
    if (options_.tlsCert.isEmpty())
        return true;
    if (!QSslSocket::supportsSsl()) {
        complain("this Qt has no TLS backend");
        return false;
    }
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(options_.tlsCert);
    QFile keyFile(options_.tlsKey);
    if (chain.isEmpty() || !keyFile.open(QIODevice::ReadOnly)) {
        complain("cannot read the certificate or the key");
        return false;
    }
    const QByteArray pem = keyFile.readAll();
    QSslKey key(pem, QSsl::Rsa);
    if (key.isNull())
        key = QSslKey(pem, QSsl::Ec);
    if (key.isNull()) {
        complain(options_.tlsKey + " holds no unencrypted RSA or EC private key");
        return false;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    *tls = configuration;
    return true;
}

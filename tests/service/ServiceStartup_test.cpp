#include "ServiceBackend.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSslCertificate>
#include <QSslKey>
#include <QXmlStreamReader>

namespace {

// Runs the service with `arguments` to its end; its exit code and standard error.
std::pair<int, QString> runToEnd(const QStringList& arguments) {
    QProcess process;
    process.start(ReferenceService::binary(), arguments);
    process.waitForFinished(20000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(ServiceStartup, RefusesCommandLinesItCannotServeSafely) {
    const auto plain = runToEnd({"--listen", "0.0.0.0", "--port", "0"});
    EXPECT_EQ(plain.first, 2);
    EXPECT_TRUE(plain.second.contains("--tls-cert")) << plain.second.toStdString();
    EXPECT_EQ(runToEnd({"--db", "mysql://x/y"}).first, 2);
    EXPECT_EQ(runToEnd({"--port", "70000"}).first, 2);
    EXPECT_EQ(runToEnd({"--tls-cert", "a.pem"}).first, 2);
    EXPECT_EQ(runToEnd({"--help"}).first, 0);
}

TEST(ServiceStartup, ServesHttpsWithItsCertificate) {
    QTemporaryDir dir;
    const QString cert = dir.filePath("cert.pem"), key = dir.filePath("key.pem");
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                              "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                              "-keyout", key, "-out", cert});
    ASSERT_TRUE(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
    ReferenceService::Options options;
    options.arguments = {"--tls-cert", cert, "--tls-key", key};
    ReferenceService service(options);
    ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();

    QUrl https = service.baseUrl();
    https.setScheme("https");
    HttpTestClient client(https);
    QSslConfiguration trust = QSslConfiguration::defaultConfiguration();
    trust.setCaCertificates(QSslCertificate::fromPath(cert));
    client.setSslConfiguration(trust);
    EXPECT_EQ(client.get("/api/me").status, 401);
    EXPECT_EQ(service.http().get("/api/me").status, 0); // no plain HTTP on that port
}

TEST(ServiceStartup, DataOutlivesTheProcessAndANewerSchemaIsRefused) {
    QTemporaryDir dir;
    ReferenceService::Options options;
    options.database = dir.filePath("kept.sqlite");
    QString token;
    {
        ReferenceService service(options);
        token = service.createAccount("kept@example.org").token;
        ASSERT_EQ(service.http()
                      .put("/api/sync/glintext",
                           {{"blob", "b"}, {"baseVersion", 0}, {"deviceId", "D"}}, token)
                      .status,
                  200);
    }
    {
        ReferenceService again(options);
        EXPECT_EQ(again.http().get("/api/me", token).status, 200);
        EXPECT_EQ(again.http().get("/api/sync/glintext", token).json().value("version"), 1);
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bump");
        db.setDatabaseName(options.database);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("INSERT INTO schema_migrations (version, applied_at) VALUES (99, 0)");
        db.close();
    }
    QSqlDatabase::removeDatabase("bump");
    ReferenceService refused(options);
    EXPECT_FALSE(refused.isRunning());
    EXPECT_TRUE(refused.startupError().contains("newer")) << refused.startupError().toStdString();
}

TEST(ServiceStartup, RoutesTestControlsAndTheUpdateFeed) {
    ReferenceService::Options plain;
    plain.testControls = false;
    ReferenceService production(plain);
    EXPECT_EQ(production.http().get("/test/received").status, 404);
    EXPECT_EQ(production.http().post("/test/accounts", {{"email", "a@b.c"}}).status, 404);

    ReferenceService service;
    EXPECT_EQ(service.http().get("/api/nothing").status, 404);
    const auto wrongMethod = service.http().get("/api/ocr");
    EXPECT_EQ(wrongMethod.status, 405);
    EXPECT_EQ(wrongMethod.header("Allow"), "POST");

    service.setAppcastItems({QJsonObject{{"version", "12"},
                                         {"shortVersionString", "0.2.0"},
                                         {"releaseNotesLink", "https://example.org/notes?a=1&b=2"},
                                         {"url", "https://example.org/glintext-0.2.0.tar.gz"},
                                         {"length", 1234}}});
    const auto feed = service.http().get("/appcast.xml");
    EXPECT_EQ(feed.status, 200);
    QXmlStreamReader xml(feed.body);
    QMap<QString, QString> seen;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"enclosure")
            seen["enclosure"] = xml.attributes().value("url").toString();
        else if (xml.namespaceUri() == u"http://www.andymatuschak.org/xml-namespaces/sparkle")
            seen[xml.name().toString()] = xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(seen["version"], "12");
    EXPECT_EQ(seen["shortVersionString"], "0.2.0");
    EXPECT_EQ(seen["releaseNotesLink"], "https://example.org/notes?a=1&b=2");
    EXPECT_EQ(seen["enclosure"], "https://example.org/glintext-0.2.0.tar.gz");
    EXPECT_EQ(
        service.http().send({"PUT", "/test/appcast", R"({"items":[{"version":"1"}]})"}).status,
        400);

    QTemporaryDir dir;
    QFile items(dir.filePath("items.json"));
    ASSERT_TRUE(items.open(QIODevice::WriteOnly));
    items.write(
        R"([{"version":"31","shortVersionString":"3.1","url":"https://example.org/g.tgz"}])");
    items.close();
    ReferenceService::Options fromFile;
    fromFile.arguments = {"--appcast", items.fileName()};
    ReferenceService operated(fromFile);
    EXPECT_TRUE(
        operated.http().get("/appcast.xml").body.contains("<sparkle:shortVersionString>3.1<"));
}

} // namespace

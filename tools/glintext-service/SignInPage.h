#pragma once

#include <QString>

// The browser pages of the sign-in: the e-mail form, the hand-over to the application,
// and the page for a link that cannot work. Every value is HTML-escaped.
namespace SignInPage {
struct Fields {
    QString app;
    QString challenge;
    QString state;
    QString email;
};

QString form(const Fields& fields, const QString& problem = {});
QString handOver(const QString& callbackUrl);
QString brokenLink(const QString& message);
} // namespace SignInPage

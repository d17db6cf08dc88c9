#include "SignInPage.h"

namespace SignInPage {

namespace {

QString frame(const QString& title, const QString& content) {
    return QStringLiteral(R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>%1</title>
<style>
body{font-family:system-ui,sans-serif;background:#f4f5f7;color:#1d1f23;margin:0}
main{max-width:26rem;margin:12vh auto;background:#fff;border-radius:12px;padding:2rem;
box-shadow:0 2px 12px rgba(0,0,0,.08)}
h1{font-size:1.4rem;margin:0 0 .5rem}p{line-height:1.5}
label{display:block;font-weight:600;margin:1.2rem 0 .4rem}
input[type=email]{box-sizing:border-box;width:100%;padding:.6rem;font-size:1rem;
border:1px solid #b9bec7;border-radius:8px}
button,a.button{display:inline-block;margin-top:1.2rem;padding:.6rem 1.4rem;font-size:1rem;
border:0;border-radius:8px;background:#2f6fde;color:#fff;text-decoration:none;cursor:pointer}
.problem{color:#b3261e;font-weight:600}
</style></head><body><main>
%2
</main></body></html>
)")
        .arg(title.toHtmlEscaped(), content);
}

QString hidden(const QString& name, const QString& value) {
    return QString(R"(<input type="hidden" name="%1" value="%2">)")
        .arg(name, value.toHtmlEscaped());
}

} // namespace

QString form(const Fields& fields, const QString& problem) {
    QString content =
        "<h1>Sign in to Glintext</h1>\n"
        "<p>Enter your e-mail address to connect this computer to your account.</p>\n";
    if (!problem.isEmpty())
        content +=
            QString("<p class=\"problem\" role=\"alert\">%1</p>\n").arg(problem.toHtmlEscaped());
    content += "<form method=\"post\" action=\"/app/connect\">\n" + hidden("app", fields.app) +
               hidden("challenge", fields.challenge) + hidden("state", fields.state) +
               QString("\n<label for=\"email\">E-mail address</label>\n"
                       "<input type=\"email\" id=\"email\" name=\"email\" required "
                       "autocomplete=\"email\" autofocus value=\"%1\">\n"
                       "<button type=\"submit\">Continue</button>\n</form>")
                   .arg(fields.email.toHtmlEscaped());
    return frame("Sign in to Glintext", content);
}

QString handOver(const QString& callbackUrl) {
    return frame("Returning to Glintext",
                 QString("<h1>You are signed in</h1>\n<p>Your browser hands the sign-in over "
                         "to Glintext. If nothing happens, open it here:</p>\n"
                         "<a class=\"button\" href=\"%1\">Open Glintext</a>")
                     .arg(callbackUrl.toHtmlEscaped()));
}

QString brokenLink(const QString& message) {
    return frame("Sign-in link not valid",
                 QString("<h1>This sign-in link does not work</h1>\n<p>%1</p>\n"
                         "<p>Start the sign-in again from Glintext's settings.</p>")
                     .arg(message.toHtmlEscaped()));
}

} // namespace SignInPage

#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "Text erfassen"},
    {"menu.captureHQ", "Erfassung mit hoher Genauigkeit"},
    {"menu.permissionNeeded", "Berechtigung zur Bildschirmaufnahme erforderlich…"},
    {"menu.recent", "Letzte Erfassungen"},
    {"menu.settings", "Einstellungen…"},
    {"menu.check_updates", "Nach Updates suchen…"},
    {"menu.about", "Über Glintext"},
    {"menu.quit", "Glintext beenden"},
    {"settings.title", "Einstellungen"},
    {"tab.general", "Allgemein"},
    {"tab.history", "Erkennung"},
    {"tab.privacy", "Datenschutz"},
    {"tab.permissions", "Berechtigungen"},
    {"tab.account", "Konto"},
    {"tab.about", "Über"},
    {"sub.general", "Tastenkürzel und Sprache"},
    {"sub.history", "Bereinigung, QR-Codes und Verlauf"},
    {"sub.privacy", "Was diesen Computer nie verlässt"},
    {"sub.permissions", "Systemberechtigungen, die Glintext benötigt."},
    {"sub.account", "Cloud-Anmeldung und Synchronisierung"},
    {"sub.about", "Über Glintext"},
    {"common.systemDefault", "System"},
    {"common.cancel", "Abbrechen"},
    {"common.later", "Später"},
    {"common.grant", "Erlauben"},
    {"common.checkNow", "Jetzt prüfen"},
    {"acct.signedOutTitle", "Nicht angemeldet"},
    {"acct.signedOutBody",
     "Melden Sie sich an, um Ihre Einstellungen zwischen Computern zu synchronisieren."},
    {"acct.signIn", "Anmelden"},
    {"acct.signOut", "Abmelden"},
    {"acct.signedIn", "Angemeldet"},
    {"acct.sync", "Einstellungen synchronisieren"},
    {"acct.syncBody", "Hält die Einstellungen auf all Ihren Computern gleich. Erfasster Text wird "
                      "nie synchronisiert."},
    {"acct.footer", "Die Anmeldung öffnet Ihren Browser. Glintext sieht Ihr Passwort nie."},
    {"gen.hotkey", "Text erfassen"},
    {"gen.hotkeySub", "Globales Tastenkürzel – einen beliebigen Bildschirmbereich auswählen"},
    {"gen.language", "Sprache"},
    {"gen.languageSub", "Sprache der Benutzeroberfläche"},
    {"gen.launchLogin", "Glintext bei der Anmeldung starten"},
    {"gen.screenNote",
     "Ihre Arbeitsumgebung verlangt möglicherweise eine Berechtigung zur Bildschirmaufnahme, um "
     "Text vom Bildschirm zu lesen. Glintext nutzt sie nur im Moment der Erfassung – Bilder werden "
     "auf diesem Computer erkannt und sofort verworfen."},
    {"gen.footer",
     "Die Erkennung läuft vollständig auf diesem Computer. Glintext sendet nichts nach außen."},
    {"gen.autoUpdate", "Automatisch nach Updates suchen"},
    {"gen.autoUpdateSub", "Automatisch nach neuen Versionen suchen"},
    {"gen.crashReports", "Absturzberichte senden"},
    {"gen.crashReportsSub", "Nur Diagnosedaten – keine persönlichen Daten und nie erfasster Text. "
                            "Sie können das jederzeit ausschalten."},
    {"perm.screen", "Bildschirmaufnahme"},
    {"perm.screenWhy", "Nimmt den Bildschirmausschnitt auf, den Sie zur Erkennung auswählen. Wird "
                       "nur beim Erfassen verwendet"},
    {"perm.granted", "Erteilt"},
    {"perm.notGranted", "Nicht erteilt"},
    {"perm.screenAlertTitle", "Berechtigung zur Bildschirmaufnahme erforderlich"},
    {"perm.screenAlertBody",
     "Glintext benötigt die Berechtigung zur Bildschirmaufnahme, um Text von Ihrem Bildschirm zu "
     "lesen. Erteilen Sie sie in den Systemeinstellungen und versuchen Sie es dann erneut. Ihre "
     "Arbeitsumgebung fordert Sie möglicherweise auf, die Anwendung neu zu öffnen."},
    {"perm.openSettings", "Systemeinstellungen öffnen"},
    {"perm.footer", "Wird nur zum Erfassen verwendet – nichts, was Sie erfassen, verlässt jemals "
                    "diesen Computer. Ihre Arbeitsumgebung fordert Sie nach dem Erteilen "
                    "möglicherweise auf, die Anwendung neu zu starten."},
    {"rec.cleanup", "Erkannten Text bereinigen"},
    {"rec.cleanupSub", "Vereinheitlicht Leerraum und repariert zerstückelte vertikale CJK-Zeilen"},
    {"rec.qr", "QR-Codes und Barcodes lesen"},
    {"rec.qrSub", "Kopiert den decodierten Inhalt, wenn sich ein Code in der Auswahl befindet"},
    {"rec.hqTitle", "Hohe Genauigkeit (Cloud)"},
    {"rec.hqDesc",
     "Liest den erfassten Bereich in der Cloud erneut, um die Lesereihenfolge mehrspaltiger "
     "Layouts wiederherzustellen (Zeitungen, Zeitschriften). Läuft nur, wenn Sie das Tastenkürzel "
     "drücken; Anmeldung erforderlich; begrenzte Nutzung pro Tag"},
    {"rec.hud", "Bestätigungshinweis anzeigen"},
    {"rec.hudSub", "Ein kleiner „Kopiert“-Hinweis nach jeder Erfassung"},
    {"rec.sound", "Ton beim Erfassen abspielen"},
    {"hist.keep", "Erfassungsverlauf behalten"},
    {"hist.keepSub", "Nur erkannter Text – Bildschirmfotos werden nie gespeichert"},
    {"hist.limit", "Verlaufsgröße"},
    {"hist.limitSub", "Die ältesten Einträge werden zuerst entfernt"},
    {"hist.limitFmt", "%d Eintrag|%d Einträge"},
    {"hist.clearNow", "Verlauf löschen"},
    {"hist.clearNowSub", "%d Eintrag gespeichert|%d Einträge gespeichert"},
    {"hist.clearButton", "Löschen…"},
    {"hist.footer", "Der Verlauf wird lokal in ~/.local/share/Glintext gespeichert und verlässt "
                    "diesen Computer nie."},
    {"clear.title", "Erfassungsverlauf löschen?"},
    {"clear.body", "Dies kann nicht rückgängig gemacht werden."},
    {"clear.all", "Alles löschen"},
    {"priv.local", "Erkennung zu 100\u202F% auf dem Gerät"},
    {"priv.localSub", "Die integrierte Erkennung läuft auf diesem Computer. Die normale Erfassung "
                      "greift nie auf das Netzwerk zu"},
    {"priv.noImages", "Bildschirmfotos werden nie gespeichert"},
    {"priv.noImagesSub",
     "Erfasste Bilder liegen nur für die Erkennung im Arbeitsspeicher und werden sofort verworfen"},
    {"priv.screenUse", "Bildschirmzugriff nur beim Erfassen"},
    {"priv.screenUseSub", "Keine Überwachung im Hintergrund – der Bildschirm wird nur gelesen, "
                          "während Sie eine Auswahl ziehen"},
    {"priv.hq", "Die Cloud wird nur für die Erfassung mit hoher Genauigkeit genutzt"},
    {"priv.hqWhy", "Nur wenn Sie dieses Tastenkürzel drücken, wird das Bild des ausgewählten "
                   "Bereichs zur Erkennung gesendet – nie gespeichert"},
    {"priv.alwaysBadge", "Immer aktiv"},
    {"priv.improve", "Helfen, Glintext zu verbessern"},
    {"priv.improveSub",
     "Sendet anonyme Statistiken wie den Erkennungserfolg sowie bei Cloud-Erkennung den erkannten "
     "Text, um die Genauigkeit zu verbessern. Bilder werden nie gesendet. Passwörter und andere "
     "vertrauliche Daten werden auf dem Server unkenntlich gemacht. Es werden keine "
     "personenbezogenen Daten übertragen. Sie können das jederzeit ausschalten"},
    {"priv.footer", "Glintext erhebt keine Analysedaten und zeigt keine Werbung. Das Netzwerk wird "
                    "nur für die Synchronisierung der Einstellungen nach der Anmeldung und für die "
                    "Erfassung mit hoher Genauigkeit genutzt, wenn Sie sie auslösen."},
    {"toast.copied", "Kopiert"},
    {"toast.ocrDone", "%d Zeichen kopiert"},
    {"toast.qrCopied", "QR-Code kopiert"},
    {"toast.noText", "Kein Text gefunden"},
    {"toast.captureFailed", "Erfassung fehlgeschlagen"},
    {"toast.hqWorking", "Wird mit hoher Genauigkeit verfeinert…"},
    {"toast.hqUpdated", "Ergebnis mit hoher Genauigkeit: %d Zeichen"},
    {"toast.hqTooSmall", "Text zu klein zum Lesen – vergrößern und erneut erfassen"},
    {"toast.hqQuota", "Tageslimit für hohe Genauigkeit erreicht – lokales Ergebnis beibehalten"},
    {"toast.hqSignIn",
     "Melden Sie sich bei {host} an, um die Erfassung mit hoher Genauigkeit zu nutzen"},
    {"toast.hqFailed", "Hohe Genauigkeit nicht verfügbar – lokales Ergebnis beibehalten"},
    {"about.tagline", "Zeigen, ziehen – und der Text gehört Ihnen."},
    {"about.version", "Version %@"},
    {"about.copyright", "© 2026 Die Glintext-Entwickler. Alle Rechte vorbehalten."},
    {"update.title", "Softwareaktualisierung"},
    {"update.upToDate", "Glintext ist auf dem neuesten Stand!"},
    {"update.upToDateBody", "Glintext %@ ist die neueste verfügbare Version."},
    {"update.available", "Eine neue Version von Glintext ist verfügbar!"},
    {"update.availableBody", "Glintext %@ ist jetzt verfügbar."},
    {"update.installedVersion", "Sie haben Version %@."},
    {"update.failed", "Aktualisierungsfehler"},
    {"update.failedBody", "Bei der Suche nach Aktualisierungen ist ein Fehler aufgetreten: %@"},
    {"update.notes", "Versionshinweise zu Version %@…"},
    {"update.download", "Herunterladen"},
    {"update.later", "Später erinnern"},
    {"common.ok", "OK"},
    {"onb.tagline", "Zeigen, ziehen – und der Text gehört Ihnen."},
    {"onb.welcomeBody",
     "Glintext kopiert Text aus allem auf Ihrem Bildschirm – Bildern, Videos, PDFs, sogar "
     "vertikalem Text. Drücken Sie das Tastenkürzel, ziehen Sie über den Text, und er liegt in "
     "Ihrer Zwischenablage. Alles bleibt auf diesem Computer."},
    {"onb.continue", "Weiter"},
    {"onb.permTitle", "Eine Berechtigung"},
    {"onb.permBody", "Ihre Arbeitsumgebung verlangt möglicherweise eine Berechtigung zur "
                     "Bildschirmaufnahme, um Text vom Bildschirm zu lesen. Glintext nutzt sie nur "
                     "im Moment der Erfassung. Ihre Arbeitsumgebung fordert Sie nach dem Erteilen "
                     "möglicherweise auf, die Anwendung neu zu öffnen."},
    {"onb.openSettings", "Keine Abfrage? Systemeinstellungen öffnen"},
    {"onb.skipPerm", "Vorerst überspringen"},
    {"onb.waiting",
     "Warten auf die Berechtigung – geht automatisch weiter, sobald sie erteilt ist"},
    {"onb.tutTitle", "So funktioniert’s"},
    {"onb.tutBody", "Wann immer Sie Text sehen, den Sie nicht markieren können:"},
    {"onb.tutOpen", "Erfassung starten"},
    {"onb.tutDrag", "Ziehen, um den Bereich auszuwählen"},
    {"onb.tutPaste", "Überall einfügen"},
    {"onb.tutCancel", "Erfassung abbrechen"},
    {"onb.improveTitle", "Helfen, Glintext zu verbessern"},
    {"onb.improveBody", "Nutzt Erkennungsstatistiken und in der Cloud erkannten Text, um die "
                        "Genauigkeit zu verbessern. Bilder werden nie gesendet, und vertrauliche "
                        "Daten werden auf dem Server unkenntlich gemacht"},
    {"onb.crashTitle", "Absturzberichte senden"},
    {"onb.crashBody",
     "Nur Diagnosedaten – nie erfasster Text. Jederzeit in den Einstellungen änderbar."},
    {"onb.startCta", "Glintext verwenden"},
    {"menu.guide", "Einführung"},
    {"onb.start", "Los geht’s"},
    {"onb.setupTitle", "Empfohlene Einstellungen"},
    {"onb.setupBody", "Einstellungen, mit denen Sie sofort loslegen können. Sie können sie später "
                      "jederzeit in den Einstellungen ändern."},
    {"onb.readyTitle", "Alles bereit"},
    {"common.granted", "Erlaubt"},
    {"common.back", "Zurück"},
    {"perm.ax", "Barrierefreiheit"},
    {"onb.tutResult",
     "Der Text im Bereich landet in der Zwischenablage, und eine kurze Meldung bestätigt es."},
    {"onb.trayNote",
     "Glintext wohnt jetzt im Infobereich der Leiste: Klicken Sie auf das Symbol, um Text zu "
     "erfassen, oder klicken Sie es mit rechts an für Verlauf und Einstellungen."},
    {"onb.noTrayNote", "Kein Infobereich auf Ihrem Desktop? „glintext capture“ startet eine "
                       "Erfassung, „glintext settings“ öffnet die Einstellungen."},
    {"onb.loginBody", "Glintext wartet still im Infobereich, damit das Tastenkürzel gleich nach "
                      "der Anmeldung funktioniert."},
    {"onb.pageDot", "Seite %@"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::de() {
    return kEntries;
}

#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "Tekst vastleggen"},
    {"menu.captureHQ", "Vastleggen met hoge nauwkeurigheid"},
    {"menu.permissionNeeded", "Toestemming voor schermopname nodig…"},
    {"menu.recent", "Recente opnames"},
    {"menu.settings", "Instellingen…"},
    {"menu.check_updates", "Controleer op updates…"},
    {"menu.about", "Over Glintext"},
    {"menu.quit", "Stop Glintext"},
    {"settings.title", "Instellingen"},
    {"tab.general", "Algemeen"},
    {"tab.history", "Herkenning"},
    {"tab.privacy", "Privacy"},
    {"tab.permissions", "Toestemmingen"},
    {"tab.account", "Account"},
    {"tab.about", "Over"},
    {"sub.general", "Sneltoets en taal"},
    {"sub.history", "Opschonen, QR-codes en geschiedenis"},
    {"sub.privacy", "Wat deze computer nooit verlaat"},
    {"sub.permissions", "Systeemtoestemmingen die Glintext nodig heeft."},
    {"sub.account", "Inloggen bij de cloud en synchronisatie"},
    {"sub.about", "Over Glintext"},
    {"common.systemDefault", "Systeem"},
    {"common.cancel", "Annuleer"},
    {"common.later", "Later"},
    {"common.grant", "Sta toe"},
    {"common.checkNow", "Controleer nu"},
    {"acct.signedOutTitle", "Niet ingelogd"},
    {"acct.signedOutBody", "Log in om je instellingen tussen computers te synchroniseren."},
    {"acct.signIn", "Log in"},
    {"acct.signOut", "Log uit"},
    {"acct.signedIn", "Ingelogd"},
    {"acct.sync", "Synchroniseer instellingen"},
    {"acct.syncBody", "Houd je instellingen gelijk op al je computers. Vastgelegde tekst wordt "
                      "nooit gesynchroniseerd."},
    {"acct.footer", "Inloggen opent je browser. Glintext ziet je wachtwoord nooit."},
    {"gen.hotkey", "Tekst vastleggen"},
    {"gen.hotkeySub", "Globale sneltoets — selecteer een willekeurig deel van het scherm"},
    {"gen.language", "Taal"},
    {"gen.languageSub", "Taal van de app"},
    {"gen.launchLogin", "Start Glintext bij inloggen"},
    {"gen.screenNote",
     "Je bureaublad kan toestemming voor schermopname vereisen om tekst van het scherm te lezen. "
     "Glintext gebruikt die alleen op het moment dat je vastlegt — afbeeldingen worden op deze "
     "computer herkend en meteen verwijderd."},
    {"gen.footer",
     "Herkenning gebeurt volledig op deze computer. Glintext verstuurt nergens iets naartoe."},
    {"gen.autoUpdate", "Automatisch op updates controleren"},
    {"gen.autoUpdateSub", "Controleer automatisch op nieuwe versies"},
    {"gen.crashReports", "Crashrapporten versturen"},
    {"gen.crashReportsSub", "Alleen diagnostische gegevens — geen persoonlijke gegevens en nooit "
                            "je opnames. Je kunt dit altijd uitzetten."},
    {"perm.screen", "Schermopname"},
    {"perm.screenWhy", "Maakt de schermafbeelding van het gebied dat je voor herkenning "
                       "selecteert. Alleen gebruikt wanneer je vastlegt"},
    {"perm.granted", "Verleend"},
    {"perm.notGranted", "Niet verleend"},
    {"perm.screenAlertTitle", "Toestemming voor schermopname nodig"},
    {"perm.screenAlertBody", "Glintext heeft toestemming voor schermopname nodig om tekst van je "
                             "scherm te lezen. Verleen die in de systeeminstellingen en probeer "
                             "het opnieuw. Je bureaublad kan vragen om de app opnieuw te openen."},
    {"perm.openSettings", "Open systeeminstellingen"},
    {"perm.footer",
     "Alleen gebruikt voor vastleggen — niets wat je vastlegt verlaat ooit deze computer. Na het "
     "verlenen kan je bureaublad vragen om de app opnieuw te starten."},
    {"rec.cleanup", "Herkende tekst opschonen"},
    {"rec.cleanupSub", "Normaliseert witruimte en herstelt gebroken verticale CJK-regels"},
    {"rec.qr", "QR-codes en streepjescodes lezen"},
    {"rec.qrSub", "Kopieert de gedecodeerde inhoud als er een code in de selectie staat"},
    {"rec.hqTitle", "Hoge nauwkeurigheid (cloud)"},
    {"rec.hqDesc", "Leest de opname opnieuw in de cloud om een complexe kolomvolgorde te "
                   "herstellen (kranten, tijdschriften). Werkt alleen als je de sneltoets indrukt; "
                   "inloggen vereist; redelijk daglimiet"},
    {"rec.hud", "Toon bevestigingsmelding"},
    {"rec.hudSub", "Een kleine melding ‘Gekopieerd’ na elke opname"},
    {"rec.sound", "Speel geluid af bij vastleggen"},
    {"hist.keep", "Opnamegeschiedenis bewaren"},
    {"hist.keepSub", "Alleen herkende tekst — schermafbeeldingen worden nooit bewaard"},
    {"hist.limit", "Grootte van de geschiedenis"},
    {"hist.limitSub", "De oudste opnames worden eerst verwijderd"},
    {"hist.limitFmt", "%d items"},
    {"hist.clearNow", "Wis geschiedenis"},
    {"hist.clearNowSub", "%d opnames bewaard"},
    {"hist.clearButton", "Wis…"},
    {"hist.footer", "De geschiedenis wordt lokaal bewaard in ~/.local/share/Glintext en verlaat "
                    "deze computer nooit."},
    {"clear.title", "Opnamegeschiedenis wissen?"},
    {"clear.body", "Dit kan niet ongedaan worden gemaakt."},
    {"clear.all", "Wis alles"},
    {"priv.local", "100% herkenning op het apparaat"},
    {"priv.localSub",
     "De ingebouwde engine draait op deze computer. Gewoon vastleggen gebruikt nooit het netwerk"},
    {"priv.noImages", "Schermafbeeldingen worden nooit bewaard"},
    {"priv.noImagesSub", "Vastgelegde afbeeldingen staan alleen voor de herkenning in het geheugen "
                         "en worden meteen verwijderd"},
    {"priv.screenUse", "Schermtoegang alleen tijdens vastleggen"},
    {"priv.screenUseSub", "Geen meekijken op de achtergrond — het scherm wordt alleen gelezen "
                          "terwijl je een selectie sleept"},
    {"priv.hq", "De cloud wordt alleen gebruikt voor vastleggen met hoge nauwkeurigheid"},
    {"priv.hqWhy", "Alleen als je deze sneltoets indrukt, wordt de afbeelding van het "
                   "geselecteerde gebied verstuurd voor herkenning — en nooit bewaard"},
    {"priv.alwaysBadge", "Altijd aan"},
    {"priv.improve", "Help Glintext verbeteren"},
    {"priv.improveSub",
     "Verstuurt anonieme statistieken, zoals hoe vaak herkenning slaagt, en bij cloudherkenning "
     "ook de herkende tekst, om de nauwkeurigheid te verbeteren. Afbeeldingen worden nooit "
     "verstuurd. Geheimen worden op de server afgeschermd. Er wordt geen persoonlijk "
     "identificeerbare informatie meegestuurd. Je kunt dit altijd uitzetten"},
    {"priv.footer", "Glintext verzamelt geen analysegegevens en toont geen advertenties. Het "
                    "netwerk wordt alleen gebruikt om instellingen te synchroniseren als je bent "
                    "ingelogd, en voor vastleggen met hoge nauwkeurigheid als je dat start."},
    {"toast.copied", "Gekopieerd"},
    {"toast.ocrDone", "%d tekens gekopieerd"},
    {"toast.qrCopied", "QR-code gekopieerd"},
    {"toast.noText", "Geen tekst gevonden"},
    {"toast.captureFailed", "Vastleggen mislukt"},
    {"toast.hqWorking", "Verfijnen met hoge nauwkeurigheid…"},
    {"toast.hqUpdated", "Resultaat met hoge nauwkeurigheid: %d tekens"},
    {"toast.hqTooSmall", "Tekst te klein om te lezen — zoom in en leg opnieuw vast"},
    {"toast.hqQuota",
     "Daglimiet voor hoge nauwkeurigheid bereikt — het lokale resultaat is behouden"},
    {"toast.hqSignIn", "Log in op {host} om vastleggen met hoge nauwkeurigheid te gebruiken"},
    {"toast.hqFailed", "Hoge nauwkeurigheid niet beschikbaar — het lokale resultaat is behouden"},
    {"about.tagline", "Aanwijzen, slepen, en de tekst is van jou."},
    {"about.version", "Versie %@"},
    {"about.copyright", "© 2026 De ontwikkelaars van Glintext. Alle rechten voorbehouden."},
    {"onb.tagline", "Aanwijzen, slepen, en de tekst is van jou."},
    {"onb.welcomeBody", "Glintext kopieert tekst uit alles op je scherm — afbeeldingen, video’s, "
                        "pdf’s, zelfs verticale tekst. Druk op de sneltoets, sleep over de tekst "
                        "en hij staat op je klembord. Alles blijft op deze computer."},
    {"onb.continue", "Ga door"},
    {"onb.permTitle", "Eén toestemming"},
    {"onb.permBody", "Je bureaublad kan toestemming voor schermopname vereisen om tekst van het "
                     "scherm te lezen. Glintext gebruikt die alleen op het moment dat je vastlegt. "
                     "Na het verlenen kan je bureaublad vragen om de app opnieuw te openen."},
    {"onb.openSettings", "Geen vraag verschenen? Open systeeminstellingen"},
    {"onb.skipPerm", "Nu overslaan"},
    {"onb.waiting", "Wachten op toestemming — gaat automatisch verder zodra die is verleend"},
    {"onb.tutTitle", "Zo werkt het"},
    {"onb.tutBody", "Telkens als je tekst ziet die je niet kunt selecteren:"},
    {"onb.tutOpen", "Start een opname"},
    {"onb.tutDrag", "Sleep om het gebied te selecteren"},
    {"onb.tutPaste", "Plak het waar je wilt"},
    {"onb.tutCancel", "Annuleer een opname"},
    {"onb.improveTitle", "Help Glintext verbeteren"},
    {"onb.improveBody",
     "Gebruikt herkenningsstatistieken en in de cloud herkende tekst om de nauwkeurigheid te "
     "verbeteren. Afbeeldingen worden nooit verstuurd en geheimen worden op de server afgeschermd"},
    {"onb.crashTitle", "Crashrapporten versturen"},
    {"onb.crashBody",
     "Alleen diagnostische gegevens — nooit je opnames. Altijd te wijzigen in Instellingen."},
    {"onb.startCta", "Begin met Glintext"},
    {"menu.guide", "Gids om te beginnen"},
    {"onb.start", "Aan de slag"},
    {"onb.setupTitle", "Aanbevolen instellingen"},
    {"onb.setupBody", "Instellingen om meteen aan de slag te gaan. Je kunt ze later altijd "
                      "wijzigen in Instellingen."},
    {"onb.readyTitle", "Je bent er klaar voor"},
    {"common.granted", "Toegestaan"},
    {"common.back", "Terug"},
    {"perm.ax", "Toegankelijkheid"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::nl() {
    return kEntries;
}

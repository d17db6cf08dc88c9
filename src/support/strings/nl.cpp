#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "Tekst vastleggen"},
    {"menu.captureHQ", "Vastleggen met hoge nauwkeurigheid"},
    {"menu.permissionNeeded", "Toestemming voor schermopname nodig…"},
    {"menu.recent", "Recent vastgelegd"},
    {"menu.settings", "Instellingen…"},
    {"menu.check_updates", "Controleren op updates…"},
    {"menu.about", "Over Glintext"},
    {"menu.quit", "Glintext afsluiten"},
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
    {"common.cancel", "Annuleren"},
    {"common.later", "Later"},
    {"common.grant", "Toestaan"},
    {"common.checkNow", "Nu controleren"},
    {"acct.signedOutTitle", "Niet ingelogd"},
    {"acct.signedOutBody", "Log in om je instellingen tussen computers te synchroniseren."},
    {"acct.signIn", "Inloggen"},
    {"acct.signOut", "Uitloggen"},
    {"acct.signedIn", "Ingelogd"},
    {"acct.sync", "Instellingen synchroniseren"},
    {"acct.syncBody", "Houd je instellingen gelijk op al je computers. Vastgelegde tekst wordt "
                      "nooit gesynchroniseerd."},
    {"acct.footer", "Inloggen opent je browser. Glintext ziet je wachtwoord nooit."},
    {"gen.hotkey", "Tekst vastleggen"},
    {"gen.hotkeySub", "Globale sneltoets – selecteer een willekeurig deel van het scherm"},
    {"gen.language", "Taal"},
    {"gen.languageSub", "Taal van de gebruikersinterface"},
    {"gen.launchLogin", "Glintext starten bij inloggen"},
    {"gen.screenNote",
     "Je desktopomgeving kan toestemming voor schermopname vereisen om tekst van het scherm te "
     "lezen. Glintext gebruikt die alleen op het moment dat je vastlegt – afbeeldingen worden op "
     "deze computer herkend en meteen verwijderd."},
    {"gen.footer",
     "Herkenning gebeurt volledig op deze computer. Glintext verstuurt nergens iets naartoe."},
    {"gen.autoUpdate", "Automatisch op updates controleren"},
    {"gen.autoUpdateSub", "Automatisch op nieuwe versies controleren"},
    {"gen.crashReports", "Crashrapporten versturen"},
    {"gen.crashReportsSub", "Alleen diagnostische gegevens – geen persoonlijke gegevens en nooit "
                            "vastgelegde tekst. Je kunt dit altijd uitzetten."},
    {"perm.screen", "Schermopname"},
    {"perm.screenWhy", "Maakt de schermafbeelding van het gebied dat je voor herkenning "
                       "selecteert. Alleen gebruikt wanneer je vastlegt"},
    {"perm.granted", "Verleend"},
    {"perm.notGranted", "Niet verleend"},
    {"perm.screenAlertTitle", "Toestemming voor schermopname nodig"},
    {"perm.screenAlertBody",
     "Glintext heeft toestemming voor schermopname nodig om tekst van je scherm te lezen. Verleen "
     "die in de systeeminstellingen en probeer het opnieuw. Je desktopomgeving kan vragen om de "
     "toepassing opnieuw te openen."},
    {"perm.openSettings", "Systeeminstellingen openen"},
    {"perm.footer",
     "Alleen gebruikt voor vastleggen – niets wat je vastlegt verlaat ooit deze computer. Na het "
     "verlenen kan je desktopomgeving vragen om de toepassing opnieuw te starten."},
    {"rec.cleanup", "Herkende tekst opschonen"},
    {"rec.cleanupSub", "Normaliseert witruimte en herstelt gebroken verticale CJK-regels"},
    {"rec.qr", "QR-codes en streepjescodes lezen"},
    {"rec.qrSub", "Kopieert de gedecodeerde inhoud als er een code in de selectie staat"},
    {"rec.hqTitle", "Hoge nauwkeurigheid (cloud)"},
    {"rec.hqDesc", "Leest het vastgelegde gebied opnieuw in de cloud om de leesvolgorde van opmaak "
                   "met meerdere kolommen te herstellen (kranten, tijdschriften). Werkt alleen als "
                   "je de sneltoets indrukt; inloggen vereist; daglimiet van toepassing"},
    {"rec.hud", "Bevestiging op het scherm tonen"},
    {"rec.hudSub", "Een kleine melding ‘Gekopieerd’ na het vastleggen"},
    {"rec.sound", "Geluid afspelen bij vastleggen"},
    {"hist.keep", "Geschiedenis bewaren"},
    {"hist.keepSub", "Alleen herkende tekst – schermafbeeldingen worden nooit bewaard"},
    {"hist.limit", "Grootte van de geschiedenis"},
    {"hist.limitSub", "De oudste items worden eerst verwijderd"},
    {"hist.limitFmt", "%d item|%d items"},
    {"hist.clearNow", "Geschiedenis wissen"},
    {"hist.clearNowSub", "%d item bewaard|%d items bewaard"},
    {"hist.clearButton", "Wissen…"},
    {"hist.footer", "De geschiedenis wordt lokaal bewaard in ~/.local/share/Glintext en verlaat "
                    "deze computer nooit."},
    {"clear.title", "Geschiedenis wissen?"},
    {"clear.body", "Dit kan niet ongedaan worden gemaakt."},
    {"clear.all", "Alles wissen"},
    {"priv.local", "100% herkenning op het apparaat"},
    {"priv.localSub",
     "De ingebouwde engine draait op deze computer. Gewoon vastleggen gebruikt nooit het netwerk"},
    {"priv.noImages", "Schermafbeeldingen worden nooit bewaard"},
    {"priv.noImagesSub", "Vastgelegde afbeeldingen staan alleen voor de herkenning in het geheugen "
                         "en worden meteen verwijderd"},
    {"priv.screenUse", "Schermtoegang alleen tijdens vastleggen"},
    {"priv.screenUseSub", "Geen meekijken op de achtergrond – het scherm wordt alleen gelezen "
                          "terwijl je een selectie sleept"},
    {"priv.hq", "De cloud wordt alleen gebruikt voor vastleggen met hoge nauwkeurigheid"},
    {"priv.hqWhy", "Alleen als je deze sneltoets indrukt, wordt de afbeelding van het "
                   "geselecteerde gebied verstuurd voor herkenning – en nooit bewaard"},
    {"priv.alwaysBadge", "Altijd aan"},
    {"priv.improve", "Glintext helpen verbeteren"},
    {"priv.improveSub",
     "Verstuurt anonieme statistieken, zoals hoe vaak herkenning slaagt, en bij cloudherkenning "
     "ook de herkende tekst, om de nauwkeurigheid te verbeteren. Afbeeldingen worden nooit "
     "verstuurd. Wachtwoorden en andere gevoelige gegevens worden op de server gemaskeerd. Er "
     "wordt geen persoonlijk identificeerbare informatie meegestuurd. Je kunt dit altijd "
     "uitzetten"},
    {"priv.footer", "Glintext verzamelt geen analysegegevens en toont geen advertenties. Het "
                    "netwerk wordt alleen gebruikt om instellingen te synchroniseren als je bent "
                    "ingelogd, en voor vastleggen met hoge nauwkeurigheid als je dat start."},
    {"toast.copied", "Gekopieerd"},
    {"toast.ocrDone", "%d teken gekopieerd|%d tekens gekopieerd"},
    {"toast.qrCopied", "QR-code gekopieerd"},
    {"toast.noText", "Geen tekst gevonden"},
    {"toast.captureFailed", "Vastleggen mislukt"},
    {"toast.hqWorking", "Verfijnen met hoge nauwkeurigheid…"},
    {"toast.hqUpdated",
     "Resultaat met hoge nauwkeurigheid: %d teken|Resultaat met hoge nauwkeurigheid: %d tekens"},
    {"toast.hqTooSmall", "Tekst te klein om te lezen – zoom in en leg opnieuw vast"},
    {"toast.hqQuota",
     "Daglimiet voor hoge nauwkeurigheid bereikt – het lokale resultaat is behouden"},
    {"toast.hqSignIn", "Log in op {host} om vastleggen met hoge nauwkeurigheid te gebruiken"},
    {"toast.hqFailed", "Hoge nauwkeurigheid niet beschikbaar – het lokale resultaat is behouden"},
    {"about.tagline", "Aanwijzen, slepen, en de tekst is van jou."},
    {"about.version", "Versie %@"},
    {"about.copyright", "© 2026 De ontwikkelaars van Glintext. Alle rechten voorbehouden."},
    {"update.title", "Software-update"},
    {"update.upToDate", "Je hebt de nieuwste versie!"},
    {"update.upToDateBody", "Glintext %@ is de nieuwste beschikbare versie."},
    {"update.available", "Er is een nieuwe versie van Glintext beschikbaar!"},
    {"update.availableBody", "Glintext %@ is nu beschikbaar."},
    {"update.installedVersion", "Je hebt versie %@."},
    {"update.failed", "Updatefout"},
    {"update.failedBody", "Er is een fout opgetreden bij het zoeken naar updates: %@"},
    {"update.notes", "Release-opmerkingen bij versie %@…"},
    {"update.download", "Downloaden"},
    {"update.later", "Herinner me later"},
    {"common.ok", "OK"},
    {"onb.tagline", "Aanwijzen, slepen, en de tekst is van jou."},
    {"onb.welcomeBody", "Glintext kopieert tekst uit alles op je scherm – afbeeldingen, video’s, "
                        "pdf’s, zelfs verticale tekst. Druk op de sneltoets, sleep over de tekst "
                        "en hij staat op je klembord. Alles blijft op deze computer."},
    {"onb.continue", "Doorgaan"},
    {"onb.permTitle", "Eén toestemming"},
    {"onb.permBody",
     "Je desktopomgeving kan toestemming voor schermopname vereisen om tekst van het scherm te "
     "lezen. Glintext gebruikt die alleen op het moment dat je vastlegt. Na het verlenen kan je "
     "desktopomgeving vragen om de toepassing opnieuw te openen."},
    {"onb.openSettings", "Geen vraag verschenen? Systeeminstellingen openen"},
    {"onb.skipPerm", "Nu overslaan"},
    {"onb.waiting", "Wachten op toestemming – gaat automatisch verder zodra die is verleend"},
    {"onb.tutTitle", "Zo werkt het"},
    {"onb.tutBody", "Telkens als je tekst ziet die je niet kunt selecteren:"},
    {"onb.tutOpen", "Vastleggen starten"},
    {"onb.tutDrag", "Slepen om het gebied te selecteren"},
    {"onb.tutPaste", "Overal plakken"},
    {"onb.tutCancel", "Vastleggen annuleren"},
    {"onb.improveTitle", "Glintext helpen verbeteren"},
    {"onb.improveBody", "Gebruikt herkenningsstatistieken en in de cloud herkende tekst om de "
                        "nauwkeurigheid te verbeteren. Afbeeldingen worden nooit verstuurd en "
                        "gevoelige gegevens worden op de server gemaskeerd"},
    {"onb.crashTitle", "Crashrapporten versturen"},
    {"onb.crashBody", "Alleen diagnostische gegevens – nooit vastgelegde tekst. Altijd te wijzigen "
                      "in Instellingen."},
    {"onb.startCta", "Beginnen met Glintext"},
    {"menu.guide", "Introductie"},
    {"onb.start", "Aan de slag"},
    {"onb.setupTitle", "Aanbevolen instellingen"},
    {"onb.setupBody", "Instellingen om meteen aan de slag te gaan. Je kunt ze later altijd "
                      "wijzigen in Instellingen."},
    {"onb.readyTitle", "Je bent er klaar voor"},
    {"common.granted", "Toegestaan"},
    {"common.back", "Terug"},
    {"perm.ax", "Toegankelijkheid"},
    {"onb.tutResult", "De tekst in het gebied wordt naar het klembord gekopieerd, en een korte "
                      "melding bevestigt dat."},
    {"onb.trayNote", "Glintext woont nu in het systeemvak: klik op het pictogram om vast te "
                     "leggen, of klik er met rechts op voor de geschiedenis en de instellingen."},
    {"onb.noTrayNote", "Geen systeemvak op je bureaublad? Voer „glintext capture” uit om vast te "
                       "leggen en „glintext settings” om de instellingen te openen."},
    {"onb.loginBody",
     "Glintext wacht stil in het systeemvak, zodat de sneltoets werkt zodra je inlogt."},
    {"onb.pageDot", "Pagina %@"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::nl() {
    return kEntries;
}

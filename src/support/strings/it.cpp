#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "Cattura testo"},
    {"menu.captureHQ", "Cattura ad alta precisione"},
    {"menu.permissionNeeded", "Serve il permesso di registrazione dello schermo…"},
    {"menu.recent", "Catture recenti"},
    {"menu.settings", "Impostazioni…"},
    {"menu.check_updates", "Controlla aggiornamenti…"},
    {"menu.about", "Informazioni su Glintext"},
    {"menu.quit", "Esci da Glintext"},
    {"settings.title", "Impostazioni"},
    {"tab.general", "Generali"},
    {"tab.history", "Riconoscimento"},
    {"tab.privacy", "Privacy"},
    {"tab.permissions", "Permessi"},
    {"tab.account", "Account"},
    {"tab.about", "Informazioni"},
    {"sub.general", "Scorciatoia e lingua"},
    {"sub.history", "Pulizia, codici QR e cronologia"},
    {"sub.privacy", "Ciò che non lascia mai questo computer"},
    {"sub.permissions", "Permessi di sistema necessari a Glintext."},
    {"sub.account", "Accesso al cloud e sincronizzazione"},
    {"sub.about", "Informazioni su Glintext"},
    {"common.systemDefault", "Sistema"},
    {"common.cancel", "Annulla"},
    {"common.later", "Più tardi"},
    {"common.grant", "Consenti"},
    {"common.checkNow", "Controlla ora"},
    {"acct.signedOutTitle", "Accesso non effettuato"},
    {"acct.signedOutBody", "Accedi per sincronizzare le impostazioni tra i tuoi computer."},
    {"acct.signIn", "Accedi"},
    {"acct.signOut", "Disconnetti"},
    {"acct.signedIn", "Accesso effettuato"},
    {"acct.sync", "Sincronizza impostazioni"},
    {"acct.syncBody", "Mantieni le impostazioni sincronizzate su tutti i tuoi computer. Il testo "
                      "catturato non viene mai sincronizzato."},
    {"acct.footer", "L’accesso si apre nel browser. Glintext non vede mai la tua password."},
    {"gen.hotkey", "Cattura testo"},
    {"gen.hotkeySub", "Scorciatoia globale: seleziona qualsiasi area dello schermo"},
    {"gen.language", "Lingua"},
    {"gen.languageSub", "Lingua dell’interfaccia"},
    {"gen.launchLogin", "Avvia Glintext all’accesso"},
    {"gen.screenNote",
     "Il tuo ambiente desktop potrebbe richiedere il permesso di registrazione dello schermo per "
     "leggere il testo a schermo. Glintext lo usa solo nel momento della cattura: le immagini "
     "vengono riconosciute su questo computer ed eliminate subito."},
    {"gen.footer", "Il riconoscimento avviene interamente su questo computer. Glintext non invia "
                   "nulla da nessuna parte."},
    {"gen.autoUpdate", "Controlla automaticamente gli aggiornamenti"},
    {"gen.autoUpdateSub", "Cerca automaticamente nuove versioni"},
    {"gen.crashReports", "Invia segnalazioni di arresto anomalo"},
    {"gen.crashReportsSub", "Solo dati diagnostici: nessun dato personale e mai il testo "
                            "catturato. Puoi disattivarlo quando vuoi."},
    {"perm.screen", "Registrazione schermo"},
    {"perm.screenWhy",
     "Acquisisce l’area selezionata per il riconoscimento. Usata solo quando catturi"},
    {"perm.granted", "Concesso"},
    {"perm.notGranted", "Non concesso"},
    {"perm.screenAlertTitle", "Serve il permesso di registrazione dello schermo"},
    {"perm.screenAlertBody",
     "Glintext ha bisogno del permesso di registrazione dello schermo per leggere il testo sul tuo "
     "schermo. Concedilo nelle impostazioni di sistema, poi riprova. Il tuo ambiente desktop "
     "potrebbe chiederti di riaprire l’applicazione."},
    {"perm.openSettings", "Apri le impostazioni di sistema"},
    {"perm.footer", "Usata solo per catturare: nulla di ciò che catturi lascia mai questo "
                    "computer. Dopo aver concesso il permesso, il tuo ambiente desktop potrebbe "
                    "chiederti di riavviare l’applicazione."},
    {"rec.cleanup", "Ripulisci il testo riconosciuto"},
    {"rec.cleanupSub", "Normalizza gli spazi e ricompone le righe CJK verticali frammentate"},
    {"rec.qr", "Leggi codici QR e codici a barre"},
    {"rec.qrSub", "Copia il contenuto decodificato quando nella selezione c’è un codice"},
    {"rec.hqTitle", "Alta precisione (cloud)"},
    {"rec.hqDesc", "Rilegge l’area catturata nel cloud per ripristinare l’ordine di lettura dei "
                   "testi su più colonne (giornali, riviste). Si attiva solo quando premi la "
                   "scorciatoia; richiede l’accesso; limite di utilizzo giornaliero"},
    {"rec.hud", "Mostra conferma a schermo"},
    {"rec.hudSub", "Una piccola nota “Copiato” dopo ogni cattura"},
    {"rec.sound", "Riproduci un suono alla cattura"},
    {"hist.keep", "Conserva la cronologia delle catture"},
    {"hist.keepSub", "Solo il testo riconosciuto: gli screenshot non vengono mai salvati"},
    {"hist.limit", "Dimensione della cronologia"},
    {"hist.limitSub", "Le catture più vecchie vengono rimosse per prime"},
    {"hist.limitFmt", "%d elemento|%d elementi"},
    {"hist.clearNow", "Cancella cronologia"},
    {"hist.clearNowSub", "%d cattura salvata|%d catture salvate"},
    {"hist.clearButton", "Cancella…"},
    {"hist.footer", "La cronologia è salvata localmente in ~/.local/share/Glintext e non lascia "
                    "mai questo computer."},
    {"clear.title", "Cancellare la cronologia delle catture?"},
    {"clear.body", "L’operazione non può essere annullata."},
    {"clear.all", "Cancella tutto"},
    {"priv.local", "Riconoscimento al 100% sul dispositivo"},
    {"priv.localSub",
     "Il motore integrato funziona su questo computer. La cattura standard non usa mai la rete"},
    {"priv.noImages", "Gli screenshot non vengono mai salvati"},
    {"priv.noImagesSub", "Le immagini catturate restano in memoria solo per il riconoscimento e "
                         "vengono eliminate subito"},
    {"priv.screenUse", "Accesso allo schermo solo quando catturi"},
    {"priv.screenUseSub", "Nessun monitoraggio in background: lo schermo viene letto solo mentre "
                          "trascini una selezione"},
    {"priv.hq", "Il cloud è usato solo per la cattura ad alta precisione"},
    {"priv.hqWhy", "Solo quando premi questa scorciatoia l’immagine dell’area selezionata viene "
                   "inviata per il riconoscimento, senza mai essere conservata"},
    {"priv.alwaysBadge", "Sempre attivo"},
    {"priv.improve", "Aiuta a migliorare Glintext"},
    {"priv.improveSub",
     "Invia statistiche anonime, come la riuscita del riconoscimento, e il testo riconosciuto "
     "quando usi il riconoscimento nel cloud, per migliorare la precisione. Le immagini non "
     "vengono mai inviate. Password e altri dati riservati vengono mascherati sul server. Non è "
     "inclusa alcuna informazione che ti identifichi personalmente. Puoi disattivarlo quando vuoi"},
    {"priv.footer", "Glintext non raccoglie dati analitici e non contiene pubblicità. La rete "
                    "viene usata solo per sincronizzare le impostazioni quando accedi e per la "
                    "cattura ad alta precisione quando la avvii."},
    {"toast.copied", "Copiato"},
    {"toast.ocrDone", "%d carattere copiato|%d caratteri copiati"},
    {"toast.qrCopied", "Codice QR copiato"},
    {"toast.noText", "Nessun testo trovato"},
    {"toast.captureFailed", "Cattura non riuscita"},
    {"toast.hqWorking", "Affinamento ad alta precisione…"},
    {"toast.hqUpdated",
     "Risultato ad alta precisione: %d carattere|Risultato ad alta precisione: %d caratteri"},
    {"toast.hqTooSmall", "Testo troppo piccolo da leggere: ingrandisci e cattura di nuovo"},
    {"toast.hqQuota",
     "Limite giornaliero di alta precisione raggiunto: è stato mantenuto il risultato locale"},
    {"toast.hqSignIn", "Accedi su {host} per usare la cattura ad alta precisione"},
    {"toast.hqFailed", "Alta precisione non disponibile: è stato mantenuto il risultato locale"},
    {"about.tagline", "Punta, trascina e il testo è tuo."},
    {"about.version", "Versione %@"},
    {"about.copyright", "© 2026 Gli sviluppatori di Glintext. Tutti i diritti riservati."},
    {"update.title", "Aggiornamento software"},
    {"update.upToDate", "Hai già la versione più recente!"},
    {"update.upToDateBody", "Glintext %@ è la versione più recente disponibile."},
    {"update.available", "È disponibile una nuova versione di Glintext!"},
    {"update.availableBody", "Glintext %@ è ora disponibile."},
    {"update.installedVersion", "Hai la versione %@."},
    {"update.failed", "Errore di aggiornamento"},
    {"update.failedBody", "Si è verificato un errore durante la ricerca di aggiornamenti: %@"},
    {"update.notes", "Note di rilascio della versione %@…"},
    {"update.download", "Scarica"},
    {"update.later", "Ricordamelo più tardi"},
    {"common.ok", "OK"},
    {"onb.tagline", "Punta, trascina e il testo è tuo."},
    {"onb.welcomeBody", "Glintext copia il testo da qualsiasi cosa sullo schermo: immagini, video, "
                        "PDF e persino testo verticale. Premi la scorciatoia, trascina sul testo "
                        "ed è già negli appunti. Tutto resta su questo computer."},
    {"onb.continue", "Continua"},
    {"onb.permTitle", "Un solo permesso"},
    {"onb.permBody", "Il tuo ambiente desktop potrebbe richiedere il permesso di registrazione "
                     "dello schermo per leggere il testo a schermo. Glintext lo usa solo nel "
                     "momento della cattura. Dopo aver concesso il permesso, il tuo ambiente "
                     "desktop potrebbe chiederti di riaprire l’applicazione."},
    {"onb.openSettings", "Nessuna richiesta? Apri le impostazioni di sistema"},
    {"onb.skipPerm", "Salta per ora"},
    {"onb.waiting", "In attesa del permesso: si prosegue automaticamente appena viene concesso"},
    {"onb.tutTitle", "Come funziona"},
    {"onb.tutBody", "Ogni volta che vedi un testo che non riesci a selezionare:"},
    {"onb.tutOpen", "Avvia una cattura"},
    {"onb.tutDrag", "Trascina per selezionare l’area"},
    {"onb.tutPaste", "Incollalo dove vuoi"},
    {"onb.tutCancel", "Annulla una cattura"},
    {"onb.improveTitle", "Aiuta a migliorare Glintext"},
    {"onb.improveBody", "Usa le statistiche di riconoscimento e il testo riconosciuto nel cloud "
                        "per migliorare la precisione. Le immagini non vengono mai inviate e i "
                        "dati riservati vengono mascherati sul server"},
    {"onb.crashTitle", "Invia segnalazioni di arresto anomalo"},
    {"onb.crashBody", "Solo dati diagnostici, mai il testo catturato. Puoi cambiarlo quando vuoi "
                      "nelle Impostazioni."},
    {"onb.startCta", "Inizia a usare Glintext"},
    {"menu.guide", "Guida introduttiva"},
    {"onb.start", "Inizia"},
    {"onb.setupTitle", "Impostazioni consigliate"},
    {"onb.setupBody",
     "Impostazioni per iniziare subito. Puoi cambiarle in qualsiasi momento nelle Impostazioni."},
    {"onb.readyTitle", "È tutto pronto"},
    {"common.granted", "Consentito"},
    {"common.back", "Indietro"},
    {"perm.ax", "Accessibilità"},
    {"onb.tutResult",
     "Il testo dell’area viene copiato negli appunti e un breve messaggio lo conferma."},
    {"onb.trayNote", "Glintext ora vive nell’area di notifica: fai clic sulla sua icona per "
                     "catturare, o clic destro per la cronologia e le impostazioni."},
    {"onb.noTrayNote", "Il tuo desktop non ha un’area di notifica? Esegui «glintext capture» per "
                       "catturare e «glintext settings» per aprire le impostazioni."},
    {"onb.loginBody", "Glintext attende discretamente nell’area di notifica, così la scorciatoia "
                      "funziona appena accedi."},
    {"onb.pageDot", "Pagina %@"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::it() {
    return kEntries;
}

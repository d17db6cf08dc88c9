#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "Przechwyć tekst"},
    {"menu.captureHQ", "Przechwytywanie z wysoką dokładnością"},
    {"menu.permissionNeeded", "Wymagane uprawnienie do nagrywania ekranu…"},
    {"menu.recent", "Ostatnie przechwycenia"},
    {"menu.settings", "Ustawienia…"},
    {"menu.check_updates", "Sprawdź dostępność aktualizacji…"},
    {"menu.about", "O programie Glintext"},
    {"menu.quit", "Zakończ Glintext"},
    {"settings.title", "Ustawienia"},
    {"tab.general", "Ogólne"},
    {"tab.history", "Rozpoznawanie"},
    {"tab.privacy", "Prywatność"},
    {"tab.permissions", "Uprawnienia"},
    {"tab.account", "Konto"},
    {"tab.about", "O programie"},
    {"sub.general", "Skrót klawiszowy i język"},
    {"sub.history", "Porządkowanie, kody QR i historia"},
    {"sub.privacy", "Co nigdy nie opuszcza tego komputera"},
    {"sub.permissions", "Uprawnienia systemowe potrzebne aplikacji Glintext."},
    {"sub.account", "Logowanie do chmury i synchronizacja"},
    {"sub.about", "O programie Glintext"},
    {"common.systemDefault", "Systemowy"},
    {"common.cancel", "Anuluj"},
    {"common.later", "Później"},
    {"common.grant", "Zezwól"},
    {"common.checkNow", "Sprawdź teraz"},
    {"acct.signedOutTitle", "Nie zalogowano"},
    {"acct.signedOutBody", "Zaloguj się, aby synchronizować ustawienia między komputerami."},
    {"acct.signIn", "Zaloguj się"},
    {"acct.signOut", "Wyloguj się"},
    {"acct.signedIn", "Zalogowano"},
    {"acct.sync", "Synchronizuj ustawienia"},
    {"acct.syncBody", "Zachowaj te same ustawienia na wszystkich swoich komputerach. Przechwycony "
                      "tekst nigdy nie jest synchronizowany."},
    {"acct.footer",
     "Logowanie otwiera się w przeglądarce. Glintext nigdy nie widzi Twojego hasła."},
    {"gen.hotkey", "Przechwyć tekst"},
    {"gen.hotkeySub", "Globalny skrót – zaznacz dowolny obszar ekranu"},
    {"gen.language", "Język"},
    {"gen.languageSub", "Język interfejsu aplikacji"},
    {"gen.launchLogin", "Uruchamiaj Glintext po zalogowaniu"},
    {"gen.screenNote",
     "Twoje środowisko graficzne może wymagać uprawnienia do nagrywania ekranu, aby odczytywać z "
     "niego tekst. Glintext używa go tylko w chwili przechwytywania – obrazy są rozpoznawane na "
     "tym komputerze i od razu usuwane."},
    {"gen.footer",
     "Rozpoznawanie odbywa się w całości na tym komputerze. Glintext nigdzie niczego nie wysyła."},
    {"gen.autoUpdate", "Automatycznie sprawdzaj aktualizacje"},
    {"gen.autoUpdateSub", "Automatycznie sprawdzaj dostępność nowych wersji"},
    {"gen.crashReports", "Wysyłaj raporty o awariach"},
    {"gen.crashReportsSub", "Tylko dane diagnostyczne – bez danych osobowych i bez przechwyconego "
                            "tekstu. Możesz to wyłączyć w dowolnej chwili."},
    {"perm.screen", "Nagrywanie ekranu"},
    {"perm.screenWhy",
     "Wykonuje zrzut zaznaczonego obszaru do rozpoznania. Używane tylko podczas przechwytywania"},
    {"perm.granted", "Przyznano"},
    {"perm.notGranted", "Nie przyznano"},
    {"perm.screenAlertTitle", "Wymagane uprawnienie do nagrywania ekranu"},
    {"perm.screenAlertBody",
     "Glintext potrzebuje uprawnienia do nagrywania ekranu, aby odczytywać tekst z Twojego ekranu. "
     "Przyznaj je w ustawieniach systemu, a następnie spróbuj ponownie. Środowisko graficzne może "
     "poprosić o ponowne otwarcie aplikacji."},
    {"perm.openSettings", "Otwórz ustawienia systemu"},
    {"perm.footer", "Używane tylko do przechwytywania – nic, co przechwycisz, nigdy nie opuszcza "
                    "tego komputera. Po przyznaniu uprawnienia środowisko graficzne może poprosić "
                    "o ponowne uruchomienie aplikacji."},
    {"rec.cleanup", "Porządkuj rozpoznany tekst"},
    {"rec.cleanupSub", "Ujednolica odstępy i naprawia rozbite pionowe wiersze CJK"},
    {"rec.qr", "Odczytuj kody QR i kody kreskowe"},
    {"rec.qrSub", "Kopiuje odkodowaną treść, gdy w zaznaczeniu jest kod"},
    {"rec.hqTitle", "Wysoka dokładność (chmura)"},
    {"rec.hqDesc", "Ponownie odczytuje przechwycony obszar w chmurze, aby odtworzyć kolejność "
                   "czytania tekstu w kilku kolumnach (gazety, czasopisma). Działa tylko po "
                   "naciśnięciu skrótu; wymaga zalogowania; obowiązuje dzienny limit"},
    {"rec.hud", "Pokazuj potwierdzenie na ekranie"},
    {"rec.hudSub", "Mała informacja „Skopiowano” po każdym przechwyceniu"},
    {"rec.sound", "Odtwarzaj dźwięk przy przechwytywaniu"},
    {"hist.keep", "Zachowuj historię przechwyceń"},
    {"hist.keepSub", "Tylko rozpoznany tekst – zrzuty ekranu nigdy nie są zapisywane"},
    {"hist.limit", "Rozmiar historii"},
    {"hist.limitSub", "Najstarsze wpisy są usuwane jako pierwsze"},
    {"hist.limitFmt", "%d wpis|%d wpisy|%d wpisów"},
    {"hist.clearNow", "Wyczyść historię"},
    {"hist.clearNowSub", "Zapisano %d wpis|Zapisano %d wpisy|Zapisano %d wpisów"},
    {"hist.clearButton", "Wyczyść…"},
    {"hist.footer", "Historia jest przechowywana lokalnie w ~/.local/share/Glintext i nigdy nie "
                    "opuszcza tego komputera."},
    {"clear.title", "Wyczyścić historię przechwyceń?"},
    {"clear.body", "Tej operacji nie można cofnąć."},
    {"clear.all", "Wyczyść wszystko"},
    {"priv.local", "Rozpoznawanie w 100% na urządzeniu"},
    {"priv.localSub", "Wbudowany silnik działa na tym komputerze. Zwykłe przechwytywanie nigdy nie "
                      "korzysta z sieci"},
    {"priv.noImages", "Zrzuty ekranu nigdy nie są zapisywane"},
    {"priv.noImagesSub",
     "Przechwycone obrazy są w pamięci tylko na czas rozpoznawania i od razu są usuwane"},
    {"priv.screenUse", "Dostęp do ekranu tylko podczas przechwytywania"},
    {"priv.screenUseSub",
     "Brak monitorowania w tle – ekran jest odczytywany tylko wtedy, gdy przeciągasz zaznaczenie"},
    {"priv.hq", "Chmura służy tylko do przechwytywania z wysoką dokładnością"},
    {"priv.hqWhy", "Tylko po naciśnięciu tego skrótu obraz zaznaczonego obszaru jest wysyłany do "
                   "rozpoznania – nigdy nie jest przechowywany"},
    {"priv.alwaysBadge", "Zawsze włączone"},
    {"priv.improve", "Pomóż ulepszać Glintext"},
    {"priv.improveSub",
     "Wysyła anonimowe statystyki, np. skuteczność rozpoznawania, a przy rozpoznawaniu w chmurze "
     "także rozpoznany tekst, aby poprawić dokładność. Obrazy nigdy nie są wysyłane. Hasła i inne "
     "poufne dane są maskowane na serwerze. Nie są dołączane żadne dane umożliwiające "
     "identyfikację osoby. Możesz to wyłączyć w dowolnej chwili"},
    {"priv.footer", "Glintext nie zbiera danych analitycznych i nie wyświetla reklam. Sieć jest "
                    "używana tylko do synchronizacji ustawień po zalogowaniu oraz do "
                    "przechwytywania z wysoką dokładnością, gdy je uruchomisz."},
    {"toast.copied", "Skopiowano"},
    {"toast.ocrDone", "Skopiowano %d znak|Skopiowano %d znaki|Skopiowano %d znaków"},
    {"toast.qrCopied", "Skopiowano kod QR"},
    {"toast.noText", "Nie znaleziono tekstu"},
    {"toast.captureFailed", "Przechwytywanie nie powiodło się"},
    {"toast.hqWorking", "Dopracowywanie z wysoką dokładnością…"},
    {"toast.hqUpdated", "Wynik wysokiej dokładności: %d znak|Wynik wysokiej dokładności: %d "
                        "znaki|Wynik wysokiej dokładności: %d znaków"},
    {"toast.hqTooSmall", "Tekst jest za mały do odczytania – powiększ i przechwyć ponownie"},
    {"toast.hqQuota", "Osiągnięto dzienny limit wysokiej dokładności – pozostawiono wynik lokalny"},
    {"toast.hqSignIn",
     "Zaloguj się na {host}, aby korzystać z przechwytywania z wysoką dokładnością"},
    {"toast.hqFailed", "Wysoka dokładność niedostępna – pozostawiono wynik lokalny"},
    {"about.tagline", "Wskaż, przeciągnij i tekst jest Twój."},
    {"about.version", "Wersja %@"},
    {"about.copyright", "© 2026 Twórcy Glintext. Wszelkie prawa zastrzeżone."},
    {"update.title", "Aktualizacja oprogramowania"},
    {"update.upToDate", "Masz najnowszą wersję!"},
    {"update.upToDateBody", "Glintext %@ to najnowsza dostępna wersja."},
    {"update.available", "Dostępna jest nowa wersja Glintext!"},
    {"update.availableBody", "Glintext %@ jest już dostępny."},
    {"update.installedVersion", "Masz wersję %@."},
    {"update.failed", "Błąd aktualizacji"},
    {"update.failedBody", "Podczas sprawdzania aktualizacji wystąpił błąd: %@"},
    {"update.notes", "Informacje o wersji %@…"},
    {"update.download", "Pobierz"},
    {"update.later", "Przypomnij później"},
    {"common.ok", "OK"},
    {"onb.tagline", "Wskaż, przeciągnij i tekst jest Twój."},
    {"onb.welcomeBody", "Glintext kopiuje tekst ze wszystkiego, co widać na ekranie – obrazów, "
                        "filmów, plików PDF, a nawet tekstu pionowego. Naciśnij skrót, przeciągnij "
                        "po tekście i gotowe: jest w schowku. Wszystko zostaje na tym komputerze."},
    {"onb.continue", "Dalej"},
    {"onb.permTitle", "Jedno uprawnienie"},
    {"onb.permBody",
     "Twoje środowisko graficzne może wymagać uprawnienia do nagrywania ekranu, aby odczytywać z "
     "niego tekst. Glintext używa go tylko w chwili przechwytywania. Po przyznaniu uprawnienia "
     "środowisko graficzne może poprosić o ponowne otwarcie aplikacji."},
    {"onb.openSettings", "Brak monitu? Otwórz ustawienia systemu"},
    {"onb.skipPerm", "Na razie pomiń"},
    {"onb.waiting",
     "Oczekiwanie na uprawnienie – przejdzie dalej automatycznie po jego przyznaniu"},
    {"onb.tutTitle", "Jak to działa"},
    {"onb.tutBody", "Gdy zobaczysz tekst, którego nie da się zaznaczyć:"},
    {"onb.tutOpen", "Rozpocznij przechwytywanie"},
    {"onb.tutDrag", "Przeciągnij, aby zaznaczyć obszar"},
    {"onb.tutPaste", "Wklej gdziekolwiek"},
    {"onb.tutCancel", "Anuluj przechwytywanie"},
    {"onb.improveTitle", "Pomóż ulepszać Glintext"},
    {"onb.improveBody",
     "Wykorzystuje statystyki rozpoznawania i tekst rozpoznany w chmurze, aby poprawić dokładność. "
     "Obrazy nigdy nie są wysyłane, a poufne dane są maskowane na serwerze"},
    {"onb.crashTitle", "Wysyłaj raporty o awariach"},
    {"onb.crashBody", "Tylko dane diagnostyczne, bez przechwyconego tekstu. Możesz to zmienić w "
                      "dowolnej chwili w Ustawieniach."},
    {"onb.startCta", "Zacznij korzystać z Glintext"},
    {"menu.guide", "Przewodnik dla początkujących"},
    {"onb.start", "Zaczynamy"},
    {"onb.setupTitle", "Zalecane ustawienia"},
    {"onb.setupBody",
     "Ustawienia, dzięki którym zaczniesz od razu. Możesz je później zmienić w Ustawieniach."},
    {"onb.readyTitle", "Wszystko gotowe"},
    {"common.granted", "Dozwolone"},
    {"common.back", "Wstecz"},
    {"perm.ax", "Ułatwienia dostępu"},
    {"onb.tutResult", "Tekst z obszaru trafia do schowka, a krótki komunikat to potwierdza."},
    {"onb.trayNote",
     "Glintext mieszka teraz w zasobniku systemowym: kliknij jego ikonę, aby przechwycić tekst, "
     "lub kliknij prawym przyciskiem, aby otworzyć historię i ustawienia."},
    {"onb.noTrayNote", "Twój pulpit nie ma zasobnika? Uruchom „glintext capture”, aby przechwycić "
                       "tekst, i „glintext settings”, aby otworzyć ustawienia."},
    {"onb.loginBody",
     "Glintext czeka dyskretnie w zasobniku, więc skrót działa zaraz po zalogowaniu."},
    {"onb.pageDot", "Strona %@"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::pl() {
    return kEntries;
}

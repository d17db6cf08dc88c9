#include "support/LocalizationTables.h"

// Notes for translators
//
// Every other table carries exactly these keys, with the same placeholders: "%d" (a number),
// "%@" (a text) and "{host}" (the service's host name). Each key below has a note saying where
// its text appears.
//
// Counts: a text holding "%d" may give one form per plural category of its language, separated
// by "|", in this order: "one|other" (English, German, Dutch, Spanish, Italian, Turkish; French
// and Brazilian Portuguese also use "one" for 0), "one|few|many" (Russian, Polish). Languages
// without plural forms (Japanese, Korean, Chinese) give one form; so may any language whose
// wording needs no change ("%d Zeichen"). Every form keeps the placeholder.
//
// Words with one meaning throughout:
// - "capture" is the act of selecting an area of the screen to copy its text. The history
//   keeps the copied texts, never images: call its items texts or entries, never a word that
//   also means screenshot or screen recording.
// - "Screen Recording" is the desktop's permission to read the screen, as the desktop's own
//   settings name it.
// - "Settings" (capitalised) is this application's settings window; "system settings" are the
//   desktop's. Use the desktop's words (GNOME, KDE) for both.
// - "desktop environment" is GNOME, KDE and the like, not the desktop surface.
// - "high accuracy": the optional cloud reading that restores the reading order of layouts in
//   several columns.
//
// Typography: follow the language's own rules, not the English ones; no " — " between clauses
// in Chinese, Japanese or Korean; in French a narrow no-break space before ? ; ! and inside
// « », a no-break space before : and in "100 %".
namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    // Tray menu, first item: starts a capture.
    {"menu.capture", "Capture Text"},
    // Tray menu: starts a capture that is then re-read in the cloud.
    {"menu.captureHQ", "High-Accuracy Capture"},
    // Tray menu, shown only while the screen permission is missing; opens the permission help.
    {"menu.permissionNeeded", "Screen Recording permission needed…"},
    // Tray menu: title of the submenu listing the most recently copied texts.
    {"menu.recent", "Recent captures"},
    // Tray menu: opens the settings window.
    {"menu.settings", "Settings…"},
    // Tray menu: looks for a newer version of the application.
    {"menu.check_updates", "Check for Updates…"},
    // Tray menu: shows the version and the ownership notice.
    {"menu.about", "About Glintext"},
    // Tray menu, last item: quits the application.
    {"menu.quit", "Quit Glintext"},
    // Settings window: window title.
    {"settings.title", "Settings"},
    // Settings window sidebar: tab titles.
    {"tab.general", "General"},
    {"tab.history", "Recognition"},
    {"tab.privacy", "Privacy"},
    {"tab.permissions", "Permissions"},
    {"tab.account", "Account"},
    {"tab.about", "About"},
    // Settings window sidebar: one-line subtitles under the tab titles above.
    {"sub.general", "Hotkey and language"},
    {"sub.history", "Cleanup, QR codes and history"},
    {"sub.privacy", "What never leaves this computer"},
    {"sub.permissions", "System permissions Glintext needs."},
    {"sub.account", "Cloud sign-in and sync"},
    {"sub.about", "About Glintext"},
    // Language picker: the first option, which follows the desktop's language.
    {"common.systemDefault", "System"},
    // Button in dialogs and onboarding: closes without doing anything.
    {"common.cancel", "Cancel"},
    // Second button of the screen-permission alert: closes it.
    {"common.later", "Later"},
    // Button on the Permissions tab and the onboarding permission page: asks the desktop for
    // the screen permission.
    {"common.grant", "Allow"},
    // Button in the About tab: checks for updates at once.
    {"common.checkNow", "Check now"},
    // Account tab, signed out: card title.
    {"acct.signedOutTitle", "Not signed in"},
    // Account tab, signed out: card text.
    {"acct.signedOutBody", "Sign in to sync your settings across computers."},
    // Account tab: buttons.
    {"acct.signIn", "Sign in"},
    {"acct.signOut", "Sign out"},
    // Account tab, signed in: status beside the e-mail address.
    {"acct.signedIn", "Signed in"},
    // Account tab: switch that turns settings synchronisation on.
    {"acct.sync", "Sync settings"},
    // Account tab: text under the switch above.
    {"acct.syncBody", "Keep settings in sync across your computers. Captured text never syncs."},
    // Account tab: footnote.
    {"acct.footer", "Sign-in opens your browser. Glintext never sees your password."},
    // General tab: label of the shortcut row.
    {"gen.hotkey", "Capture text"},
    // General tab: text under the shortcut row.
    {"gen.hotkeySub", "Global hotkey — select any area of the screen"},
    // General tab: label of the language picker.
    {"gen.language", "Language"},
    // General tab: text under the language picker.
    {"gen.languageSub", "App interface language"},
    // General tab: switch that starts the application when the user logs in.
    {"gen.launchLogin", "Launch Glintext at login"},
    // General tab: note about the screen permission.
    {"gen.screenNote",
     "Your desktop environment may require Screen Recording permission to read text from the "
     "screen. Glintext uses it only at the moment you capture — images are recognized on this "
     "computer and immediately discarded."},
    // General tab: footnote.
    {"gen.footer", "Recognition runs entirely on this computer. Glintext sends nothing anywhere."},
    // About tab: switch and its text.
    {"gen.autoUpdate", "Check for updates automatically"},
    {"gen.autoUpdateSub", "Automatically check for new versions"},
    // About tab: switch and its text. "captures" are the copied texts.
    {"gen.crashReports", "Send crash reports"},
    {"gen.crashReportsSub",
     "Diagnostics only — no personal data and never your captures. You can turn this off "
     "anytime."},
    // Permissions tab: name of the screen permission, as the desktop's settings call it.
    {"perm.screen", "Screen Recording"},
    // Permissions tab: why the permission is needed; the subject is the permission.
    {"perm.screenWhy",
     "Takes the screenshot you select for recognition. Used only when you capture"},
    // Permissions tab: state of the permission.
    {"perm.granted", "Granted"},
    {"perm.notGranted", "Not granted"},
    // Alert shown when a capture starts without the permission: title and text.
    {"perm.screenAlertTitle", "Screen Recording permission needed"},
    {"perm.screenAlertBody",
     "Glintext needs Screen Recording permission to read text from your screen. Grant it in "
     "system settings, then try again. Your desktop environment may ask you to reopen the app."},
    // Button in the alert above and the Permissions tab: opens the desktop's settings.
    {"perm.openSettings", "Open system settings"},
    // Permissions tab: footnote; the subject is the permission.
    {"perm.footer",
     "Used only for capturing — nothing you capture ever leaves this computer. Your desktop "
     "environment may ask you to relaunch the app after granting."},
    // Recognition tab: switch and its text.
    {"rec.cleanup", "Clean up recognized text"},
    {"rec.cleanupSub", "Normalizes whitespace and repairs fragmented vertical CJK lines"},
    // Recognition tab: switch and its text.
    {"rec.qr", "Read QR codes and barcodes"},
    {"rec.qrSub", "Copies the decoded content when a code is in the selection"},
    // Recognition tab: title of the cloud reading card.
    {"rec.hqTitle", "High accuracy (cloud)"},
    // Recognition tab: text of the cloud reading card. It restores the order in which columns
    // are read; the service allows a limited number of uses per day.
    {"rec.hqDesc",
     "Re-reads the capture in the cloud to restore the reading order of multi-column layouts "
     "(newspapers, magazines). Runs only when you press the shortcut; requires sign-in; daily "
     "usage limit"},
    // Recognition tab: switch for the small label that says "Copied" on the screen for a
    // moment after each capture (not a desktop notification).
    {"rec.hud", "Show on-screen confirmation"},
    // Recognition tab: text under the switch above; quotes the label's own text.
    {"rec.hudSub", "A small “Copied” note after each capture"},
    // Recognition tab: switch.
    {"rec.sound", "Play sound on capture"},
    // Recognition tab, history card: switch that keeps copied texts; its text.
    {"hist.keep", "Keep capture history"},
    {"hist.keepSub", "Recognized text only — screenshots are never saved"},
    // Recognition tab, history card: label of the size picker and its text.
    {"hist.limit", "History size"},
    {"hist.limitSub", "Oldest captures are removed first"},
    // Recognition tab, history card: each option of the size picker (25, 50, 100, 300, 1000).
    {"hist.limitFmt", "%d item|%d items"},
    // Recognition tab, history card: row that clears the history; its text counts the
    // texts kept now.
    {"hist.clearNow", "Clear history"},
    {"hist.clearNowSub", "%d capture stored|%d captures stored"},
    // Recognition tab, history card: button of the row above; opens a confirmation.
    {"hist.clearButton", "Clear…"},
    // Recognition tab: footnote.
    {"hist.footer",
     "History is stored locally in ~/.local/share/Glintext and never leaves this computer."},
    // Confirmation before the history is cleared: title, text, destructive button.
    {"clear.title", "Clear capture history?"},
    {"clear.body", "This cannot be undone."},
    {"clear.all", "Clear Everything"},
    // Privacy tab: card title and text.
    {"priv.local", "100% on-device recognition"},
    {"priv.localSub",
     "The built-in engine runs on this computer. Standard capture never touches the network"},
    // Privacy tab: card title and text.
    {"priv.noImages", "Screenshots are never saved"},
    {"priv.noImagesSub",
     "Captured images live in memory for recognition and are discarded immediately"},
    // Privacy tab: card title and text.
    {"priv.screenUse", "Screen access only when you capture"},
    {"priv.screenUseSub",
     "No background watching — the screen is read only while you drag a selection"},
    // Privacy tab: card title and text about the cloud reading.
    {"priv.hq", "Cloud is used only for high-accuracy capture"},
    {"priv.hqWhy",
     "Only when you press this shortcut, the selected area’s image is sent for recognition — "
     "never stored"},
    // Privacy tab: badge on cards that describe fixed behaviour.
    {"priv.alwaysBadge", "Always on"},
    // About tab: switch for improvement statistics and its text.
    {"priv.improve", "Help improve Glintext"},
    {"priv.improveSub",
     "Sends anonymous stats like recognition success, plus the recognized text when you use "
     "cloud recognition, to improve accuracy. Images are never sent. Passwords and other "
     "sensitive data are masked on the server. No personally identifying information is "
     "included. You can turn this off anytime"},
    // Privacy tab: footnote.
    {"priv.footer",
     "Glintext collects no analytics and has no ads. Network is used only for settings sync "
     "when you sign in, and for high-accuracy capture when you invoke it."},
    // Toasts: the small label that appears on the screen for a moment after a capture.
    // Keep them short. A copy with no count:
    {"toast.copied", "Copied"},
    // Toast after text was copied; the count is of characters.
    {"toast.ocrDone", "Copied %d character|Copied %d characters"},
    // Toast after the payloads of QR codes or barcodes were copied.
    {"toast.qrCopied", "QR code copied"},
    // Toast: the selection held no text and no code.
    {"toast.noText", "No text found"},
    // Toast: the screen could not be read.
    {"toast.captureFailed", "Capture failed"},
    // Toast while the cloud reads the selection again.
    {"toast.hqWorking", "Refining with high accuracy…"},
    // Toast when the cloud reading replaced the copied text; the count is of characters.
    {"toast.hqUpdated", "High-accuracy result: %d character|High-accuracy result: %d characters"},
    // Toasts when the cloud reading failed; the text read on this computer stays copied.
    {"toast.hqTooSmall", "Text too small to read — zoom in and capture again"},
    {"toast.hqQuota", "Daily high-accuracy limit reached — kept the on-device result"},
    {"toast.hqSignIn", "Sign in at {host} to use high-accuracy capture"},
    {"toast.hqFailed", "High accuracy unavailable — kept the on-device result"},
    // About tab: slogan under the name.
    {"about.tagline", "Point, drag, and the text is yours."},
    // About tab: version line; "%@" is the version number.
    {"about.version", "Version %@"},
    // About tab: ownership notice at the foot.
    {"about.copyright", "© 2026 The Glintext developers. All rights reserved."},
    // Software update dialog: window title.
    {"update.title", "Software Update"},
    // Software update dialog: headline when no newer version exists.
    {"update.upToDate", "You’re up to date!"},
    // Software update dialog: text under it; "%@" is the installed version.
    {"update.upToDateBody", "Glintext %@ is currently the newest version available."},
    // Software update dialog: headline when a newer version exists.
    {"update.available", "A new version of Glintext is available!"},
    // Software update dialog: first sentence under it; "%@" is the new version.
    {"update.availableBody", "Glintext %@ is now available."},
    // Software update dialog: second sentence; "%@" is the installed version.
    {"update.installedVersion", "You have version %@."},
    // Software update dialog: headline when the check failed.
    {"update.failed", "Update Error!"},
    // Software update dialog: text under it; "%@" is the technical reason, in English.
    {"update.failedBody", "An error occurred while checking for updates: %@"},
    // Software update dialog: link to what changed; "%@" is the new version.
    {"update.notes", "Release notes for version %@…"},
    // Software update dialog: button that opens the download in the browser.
    {"update.download", "Download"},
    // Software update dialog: button that closes it without downloading.
    {"update.later", "Remind Me Later"},
    // Button that closes a message.
    {"common.ok", "OK"},
    // Onboarding, first page: slogan and introduction.
    {"onb.tagline", "Point, drag, and the text is yours."},
    {"onb.welcomeBody",
     "Glintext copies text out of anything on your screen — images, videos, PDFs, even vertical "
     "text. Press the hotkey, drag over the text, and it’s on your clipboard. Everything stays "
     "on this computer."},
    // Onboarding: button to the next page.
    {"onb.continue", "Continue"},
    // Onboarding, permission page: title and text.
    {"onb.permTitle", "One permission"},
    {"onb.permBody",
     "Your desktop environment may require Screen Recording permission to read text from the "
     "screen. Glintext uses it only at the moment you capture. Your desktop environment may ask "
     "you to reopen the app after granting."},
    // Onboarding, permission page: link shown when the desktop asked nothing.
    {"onb.openSettings", "No prompt? Open system settings"},
    // Onboarding, permission page: goes on without the permission.
    {"onb.skipPerm", "Skip for now"},
    // Onboarding, permission page: shown while the page waits for the permission.
    {"onb.waiting", "Waiting for permission — continues automatically once granted"},
    // Onboarding, tutorial page: title and lead-in to the three steps below.
    {"onb.tutTitle", "How it works"},
    {"onb.tutBody", "Whenever you see text you can’t select:"},
    // Onboarding, tutorial page: steps, each beside its key caps.
    {"onb.tutOpen", "Start a capture"},
    {"onb.tutDrag", "Drag to select the area"},
    {"onb.tutPaste", "Paste it anywhere"},
    {"onb.tutCancel", "Cancel a capture"},
    // Onboarding, settings page: switch for improvement statistics and its text.
    {"onb.improveTitle", "Help improve Glintext"},
    {"onb.improveBody",
     "Uses recognition stats and cloud-recognized text to improve accuracy. Images are never "
     "sent, and sensitive data such as passwords is masked on the server"},
    // Onboarding, settings page: switch for crash reports and its text.
    {"onb.crashTitle", "Send crash reports"},
    {"onb.crashBody", "Diagnostics only — never your captures. Change anytime in Settings."},
    // Onboarding, last page: button that closes onboarding.
    {"onb.startCta", "Start Using Glintext"},
    // Tray menu: opens onboarding again.
    {"menu.guide", "Getting Started Guide"},
    // Onboarding, first page: button.
    {"onb.start", "Get Started"},
    // Onboarding, settings page: title and text.
    {"onb.setupTitle", "Recommended settings"},
    {"onb.setupBody",
     "Settings to get you started right away. You can change them anytime later in Settings."},
    // Onboarding, last page: title.
    {"onb.readyTitle", "You're all set"},
    // Onboarding, permission page: state once the permission is there.
    {"common.granted", "Allowed"},
    // Onboarding: button to the previous page.
    {"common.back", "Back"},
    // Name of the desktop's accessibility settings, as the desktop calls them, for a permission
    // row that needs them.
    {"perm.ax", "Accessibility"},
    // Onboarding, tutorial page: what a capture does, below the steps.
    {"onb.tutResult",
     "The text in the area is copied to the clipboard, and a short message confirms it."},
    // Onboarding, last page: where the app lives once the guide is closed.
    {"onb.trayNote", "Glintext now lives in the system tray: click its icon to capture, or "
                     "right-click it for the history and the settings."},
    // Onboarding, last page: the commands for desktops without a tray; the quoted commands stay as
    // they are.
    {"onb.noTrayNote", "No tray on your desktop? Run “glintext capture” to capture and “glintext "
                       "settings” to open the settings."},
    // Onboarding, last page: text under the launch-at-login switch.
    {"onb.loginBody",
     "Glintext waits quietly in the tray, so the shortcut works as soon as you log in."},
    // Onboarding: name of a page dot for screen readers; "%@" is the page number.
    {"onb.pageDot", "Page %@"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::en() {
    return kEntries;
}

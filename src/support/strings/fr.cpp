#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "Capturer du texte"},
    {"menu.captureHQ", "Capture haute précision"},
    {"menu.permissionNeeded", "Autorisation d’enregistrement de l’écran requise…"},
    {"menu.recent", "Textes récents"},
    {"menu.settings", "Paramètres…"},
    {"menu.check_updates", "Rechercher des mises à jour…"},
    {"menu.about", "À propos de Glintext"},
    {"menu.quit", "Quitter Glintext"},
    {"settings.title", "Paramètres"},
    {"tab.general", "Général"},
    {"tab.history", "Reconnaissance"},
    {"tab.privacy", "Confidentialité"},
    {"tab.permissions", "Autorisations"},
    {"tab.account", "Compte"},
    {"tab.about", "À propos"},
    {"sub.general", "Raccourci et langue"},
    {"sub.history", "Nettoyage, QR codes et historique"},
    {"sub.privacy", "Ce qui ne quitte jamais cet ordinateur"},
    {"sub.permissions", "Autorisations système dont Glintext a besoin."},
    {"sub.account", "Connexion au cloud et synchronisation"},
    {"sub.about", "À propos de Glintext"},
    {"common.systemDefault", "Système"},
    {"common.cancel", "Annuler"},
    {"common.later", "Plus tard"},
    {"common.grant", "Autoriser"},
    {"common.checkNow", "Vérifier maintenant"},
    {"acct.signedOutTitle", "Non connecté"},
    {"acct.signedOutBody",
     "Connectez-vous pour synchroniser vos paramètres entre vos ordinateurs."},
    {"acct.signIn", "Se connecter"},
    {"acct.signOut", "Se déconnecter"},
    {"acct.signedIn", "Connecté"},
    {"acct.sync", "Synchroniser les paramètres"},
    {"acct.syncBody", "Gardez les mêmes paramètres sur tous vos ordinateurs. Le texte capturé "
                      "n’est jamais synchronisé."},
    {"acct.footer",
     "La connexion s’ouvre dans votre navigateur. Glintext ne voit jamais votre mot de passe."},
    {"gen.hotkey", "Capturer du texte"},
    {"gen.hotkeySub", "Raccourci global — sélectionnez n’importe quelle zone de l’écran"},
    {"gen.language", "Langue"},
    {"gen.languageSub", "Langue de l’interface"},
    {"gen.launchLogin", "Lancer Glintext à l’ouverture de session"},
    {"gen.screenNote",
     "Votre environnement de bureau peut exiger l’autorisation d’enregistrement de l’écran pour "
     "lire le texte affiché. Glintext ne l’utilise qu’au moment de la capture — les images sont "
     "reconnues sur cet ordinateur puis supprimées immédiatement."},
    {"gen.footer", "La reconnaissance s’effectue entièrement sur cet ordinateur. Glintext n’envoie "
                   "rien nulle part."},
    {"gen.autoUpdate", "Rechercher automatiquement les mises à jour"},
    {"gen.autoUpdateSub", "Vérifier automatiquement si une nouvelle version existe"},
    {"gen.crashReports", "Envoyer les rapports de plantage"},
    {"gen.crashReportsSub", "Diagnostics uniquement — aucune donnée personnelle et jamais le texte "
                            "capturé. Vous pouvez désactiver cette option à tout moment."},
    {"perm.screen", "Enregistrement de l’écran"},
    {"perm.screenWhy", "Prend la capture d’écran de la zone sélectionnée pour la reconnaissance. "
                       "Utilisé uniquement lors d’une capture"},
    {"perm.granted", "Accordée"},
    {"perm.notGranted", "Non accordée"},
    {"perm.screenAlertTitle", "Autorisation d’enregistrement de l’écran requise"},
    {"perm.screenAlertBody",
     "Glintext a besoin de l’autorisation d’enregistrement de l’écran pour lire le texte affiché. "
     "Accordez-la dans les paramètres système, puis réessayez. Votre environnement de bureau peut "
     "vous demander de rouvrir l’application."},
    {"perm.openSettings", "Ouvrir les paramètres système"},
    {"perm.footer", "Utilisée uniquement pour les captures — rien de ce que vous capturez ne "
                    "quitte cet ordinateur. Votre environnement de bureau peut vous demander de "
                    "relancer l’application après l’autorisation."},
    {"rec.cleanup", "Nettoyer le texte reconnu"},
    {"rec.cleanupSub", "Normalise les espaces et répare les lignes CJK verticales fragmentées"},
    {"rec.qr", "Lire les QR codes et codes-barres"},
    {"rec.qrSub", "Copie le contenu décodé lorsqu’un code se trouve dans la sélection"},
    {"rec.hqTitle", "Haute précision (cloud)"},
    {"rec.hqDesc",
     "Relit la zone capturée dans le cloud pour rétablir l’ordre de lecture des mises en page en "
     "colonnes (journaux, magazines). Ne s’exécute que lorsque vous utilisez le raccourci\u202F; "
     "connexion requise\u202F; nombre d’utilisations limité par jour"},
    {"rec.hud", "Afficher une confirmation à l’écran"},
    {"rec.hudSub", "Une petite note «\u202FCopié\u202F» après chaque capture"},
    {"rec.sound", "Jouer un son lors de la capture"},
    {"hist.keep", "Conserver l’historique"},
    {"hist.keepSub",
     "Texte reconnu uniquement — les images de l’écran ne sont jamais enregistrées"},
    {"hist.limit", "Taille de l’historique"},
    {"hist.limitSub", "Les textes les plus anciens sont supprimés en premier"},
    {"hist.limitFmt", "%d élément|%d éléments"},
    {"hist.clearNow", "Effacer l’historique"},
    {"hist.clearNowSub", "%d texte dans l’historique|%d textes dans l’historique"},
    {"hist.clearButton", "Effacer…"},
    {"hist.footer", "L’historique est stocké localement dans ~/.local/share/Glintext et ne quitte "
                    "jamais cet ordinateur."},
    {"clear.title", "Effacer l’historique\u202F?"},
    {"clear.body", "Cette action est irréversible."},
    {"clear.all", "Tout effacer"},
    {"priv.local", "Reconnaissance 100\u202F% sur l’appareil"},
    {"priv.localSub", "Le moteur intégré fonctionne sur cet ordinateur. La capture standard "
                      "n’utilise jamais le réseau"},
    {"priv.noImages", "Les images de l’écran ne sont jamais enregistrées"},
    {"priv.noImagesSub", "Les images capturées restent en mémoire le temps de la reconnaissance et "
                         "sont supprimées immédiatement"},
    {"priv.screenUse", "Accès à l’écran uniquement lors d’une capture"},
    {"priv.screenUseSub", "Aucune surveillance en arrière-plan — l’écran n’est lu que pendant que "
                          "vous tracez une sélection"},
    {"priv.hq", "Le cloud ne sert qu’à la capture haute précision"},
    {"priv.hqWhy", "L’image de la zone sélectionnée n’est envoyée pour reconnaissance que lorsque "
                   "vous utilisez ce raccourci\u202F; elle n’est jamais conservée"},
    {"priv.alwaysBadge", "Toujours actif"},
    {"priv.improve", "Aider à améliorer Glintext"},
    {"priv.improveSub",
     "Envoie des statistiques anonymes, comme le taux de reconnaissance réussie, ainsi que le "
     "texte reconnu lorsque vous utilisez la reconnaissance dans le cloud, afin d’améliorer la "
     "précision. Les images ne sont jamais envoyées. Les mots de passe et autres données sensibles "
     "sont masqués sur le serveur. Aucune information permettant de vous identifier n’est incluse. "
     "Vous pouvez désactiver cette option à tout moment"},
    {"priv.footer", "Glintext ne collecte aucune donnée d’analyse et n’affiche aucune publicité. "
                    "Le réseau n’est utilisé que pour synchroniser les paramètres lorsque vous "
                    "êtes connecté, et pour la capture haute précision lorsque vous la lancez."},
    {"toast.copied", "Copié"},
    {"toast.ocrDone", "%d caractère copié|%d caractères copiés"},
    {"toast.qrCopied", "QR code copié"},
    {"toast.noText", "Aucun texte trouvé"},
    {"toast.captureFailed", "Échec de la capture"},
    {"toast.hqWorking", "Affinage en haute précision…"},
    {"toast.hqUpdated",
     "Résultat haute précision\u00A0: %d caractère|Résultat haute précision\u00A0: %d caractères"},
    {"toast.hqTooSmall", "Texte trop petit pour être lu — zoomez puis capturez à nouveau"},
    {"toast.hqQuota",
     "Limite quotidienne de haute précision atteinte — le résultat local a été conservé"},
    {"toast.hqSignIn", "Connectez-vous sur {host} pour utiliser la capture haute précision"},
    {"toast.hqFailed", "Haute précision indisponible — le résultat local a été conservé"},
    {"about.tagline", "Visez, faites glisser\u00A0: le texte est à vous."},
    {"about.version", "Version %@"},
    {"about.copyright", "© 2026 Les développeurs de Glintext. Tous droits réservés."},
    {"update.title", "Mise à jour du logiciel"},
    {"update.upToDate", "Vous êtes à jour\u202F!"},
    {"update.upToDateBody", "Glintext %@ est la version la plus récente disponible."},
    {"update.available", "Une nouvelle version de Glintext est disponible\u202F!"},
    {"update.availableBody", "Glintext %@ est disponible."},
    {"update.installedVersion", "Vous avez la version %@."},
    {"update.failed", "Erreur de mise à jour"},
    {"update.failedBody",
     "Une erreur s’est produite lors de la recherche de mises à jour\u00A0: %@"},
    {"update.notes", "Notes de la version %@…"},
    {"update.download", "Télécharger"},
    {"update.later", "Me le rappeler plus tard"},
    {"common.ok", "OK"},
    {"onb.tagline", "Visez, faites glisser\u00A0: le texte est à vous."},
    {"onb.welcomeBody",
     "Glintext copie le texte de tout ce qui s’affiche à l’écran — images, vidéos, PDF, même le "
     "texte vertical. Appuyez sur le raccourci, faites glisser sur le texte, et il est dans votre "
     "presse-papiers. Tout reste sur cet ordinateur."},
    {"onb.continue", "Continuer"},
    {"onb.permTitle", "Une seule autorisation"},
    {"onb.permBody",
     "Votre environnement de bureau peut exiger l’autorisation d’enregistrement de l’écran pour "
     "lire le texte affiché. Glintext ne l’utilise qu’au moment de la capture. Votre environnement "
     "de bureau peut vous demander de rouvrir l’application après l’autorisation."},
    {"onb.openSettings", "Pas de demande\u202F? Ouvrir les paramètres système"},
    {"onb.skipPerm", "Passer pour l’instant"},
    {"onb.waiting", "En attente de l’autorisation — l’assistant reprendra automatiquement dès "
                    "qu’elle sera accordée"},
    {"onb.tutTitle", "Comment ça marche"},
    {"onb.tutBody", "Chaque fois que vous voyez un texte impossible à sélectionner\u00A0:"},
    {"onb.tutOpen", "Lancer une capture"},
    {"onb.tutDrag", "Faites glisser pour sélectionner la zone"},
    {"onb.tutPaste", "Collez-le où vous voulez"},
    {"onb.tutCancel", "Annuler une capture"},
    {"onb.improveTitle", "Aider à améliorer Glintext"},
    {"onb.improveBody", "Utilise les statistiques de reconnaissance et le texte reconnu dans le "
                        "cloud pour améliorer la précision. Les images ne sont jamais envoyées et "
                        "les données sensibles sont masquées sur le serveur"},
    {"onb.crashTitle", "Envoyer les rapports de plantage"},
    {"onb.crashBody", "Diagnostics uniquement — jamais le texte capturé. Modifiable à tout moment "
                      "dans les Paramètres."},
    {"onb.startCta", "Commencer à utiliser Glintext"},
    {"menu.guide", "Guide de démarrage"},
    {"onb.start", "Commencer"},
    {"onb.setupTitle", "Paramètres recommandés"},
    {"onb.setupBody", "Des paramètres pour bien démarrer tout de suite. Vous pourrez les modifier "
                      "à tout moment dans les Paramètres."},
    {"onb.readyTitle", "Tout est prêt"},
    {"common.granted", "Autorisé"},
    {"common.back", "Retour"},
    {"perm.ax", "Accessibilité"},
    {"onb.tutResult",
     "Le texte de la zone est copié dans le presse-papiers, et un court message le confirme."},
    {"onb.trayNote",
     "Glintext se trouve désormais dans la zone de notification\u00A0: cliquez sur son icône pour "
     "capturer, ou faites un clic droit pour l’historique et les paramètres."},
    {"onb.noTrayNote",
     "Pas de zone de notification sur votre bureau\u202F? Lancez «\u202Fglintext capture\u202F» "
     "pour capturer et «\u202Fglintext settings\u202F» pour ouvrir les paramètres."},
    {"onb.loginBody", "Glintext attend discrètement dans la zone de notification\u00A0: le "
                      "raccourci fonctionne dès l’ouverture de session."},
    {"onb.pageDot", "Page %@"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::fr() {
    return kEntries;
}

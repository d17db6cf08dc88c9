#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "Capturar texto"},
    {"menu.captureHQ", "Captura de alta precisión"},
    {"menu.permissionNeeded", "Se necesita permiso de grabación de pantalla…"},
    {"menu.recent", "Textos recientes"},
    {"menu.settings", "Configuración…"},
    {"menu.check_updates", "Buscar actualizaciones…"},
    {"menu.about", "Acerca de Glintext"},
    {"menu.quit", "Salir de Glintext"},
    {"settings.title", "Configuración"},
    {"tab.general", "General"},
    {"tab.history", "Reconocimiento"},
    {"tab.privacy", "Privacidad"},
    {"tab.permissions", "Permisos"},
    {"tab.account", "Cuenta"},
    {"tab.about", "Acerca de"},
    {"sub.general", "Atajo y idioma"},
    {"sub.history", "Limpieza, códigos QR e historial"},
    {"sub.privacy", "Lo que nunca sale de este ordenador"},
    {"sub.permissions", "Permisos del sistema que necesita Glintext."},
    {"sub.account", "Inicio de sesión en la nube y sincronización"},
    {"sub.about", "Acerca de Glintext"},
    {"common.systemDefault", "Sistema"},
    {"common.cancel", "Cancelar"},
    {"common.later", "Más tarde"},
    {"common.grant", "Permitir"},
    {"common.checkNow", "Comprobar ahora"},
    {"acct.signedOutTitle", "Sesión no iniciada"},
    {"acct.signedOutBody", "Inicia sesión para sincronizar tu configuración entre ordenadores."},
    {"acct.signIn", "Iniciar sesión"},
    {"acct.signOut", "Cerrar sesión"},
    {"acct.signedIn", "Sesión iniciada"},
    {"acct.sync", "Sincronizar la configuración"},
    {"acct.syncBody", "Mantén la configuración sincronizada en todos tus ordenadores. El texto "
                      "capturado nunca se sincroniza."},
    {"acct.footer",
     "El inicio de sesión se abre en tu navegador. Glintext nunca ve tu contraseña."},
    {"gen.hotkey", "Capturar texto"},
    {"gen.hotkeySub", "Atajo global: selecciona cualquier zona de la pantalla"},
    {"gen.language", "Idioma"},
    {"gen.languageSub", "Idioma de la interfaz"},
    {"gen.launchLogin", "Abrir Glintext al iniciar sesión"},
    {"gen.screenNote",
     "Tu entorno de escritorio puede requerir permiso de grabación de pantalla para leer el texto "
     "de la pantalla. Glintext solo lo usa en el momento de la captura: las imágenes se reconocen "
     "en este ordenador y se descartan de inmediato."},
    {"gen.footer", "El reconocimiento se realiza por completo en este ordenador. Glintext no envía "
                   "nada a ningún sitio."},
    {"gen.autoUpdate", "Buscar actualizaciones automáticamente"},
    {"gen.autoUpdateSub", "Comprobar automáticamente si hay versiones nuevas"},
    {"gen.crashReports", "Enviar informes de fallos"},
    {"gen.crashReportsSub", "Solo diagnósticos: sin datos personales y nunca el texto capturado. "
                            "Puedes desactivarlo cuando quieras."},
    {"perm.screen", "Grabación de pantalla"},
    {"perm.screenWhy", "Toma la captura de pantalla de la zona que seleccionas para reconocerla. "
                       "Solo se usa al capturar"},
    {"perm.granted", "Concedido"},
    {"perm.notGranted", "No concedido"},
    {"perm.screenAlertTitle", "Se necesita permiso de grabación de pantalla"},
    {"perm.screenAlertBody",
     "Glintext necesita permiso de grabación de pantalla para leer el texto de tu pantalla. "
     "Concédelo en la configuración del sistema y vuelve a intentarlo. Es posible que tu entorno "
     "de escritorio te pida volver a abrir la aplicación."},
    {"perm.openSettings", "Abrir la configuración del sistema"},
    {"perm.footer",
     "Solo se usa para capturar: nada de lo que capturas sale nunca de este ordenador. Es posible "
     "que tu entorno de escritorio te pida reiniciar la aplicación después de concederlo."},
    {"rec.cleanup", "Limpiar el texto reconocido"},
    {"rec.cleanupSub", "Normaliza los espacios y repara las líneas CJK verticales fragmentadas"},
    {"rec.qr", "Leer códigos QR y de barras"},
    {"rec.qrSub", "Copia el contenido descodificado cuando hay un código en la selección"},
    {"rec.hqTitle", "Alta precisión (nube)"},
    {"rec.hqDesc", "Vuelve a leer la zona capturada en la nube para restaurar el orden de lectura "
                   "de maquetaciones a varias columnas (periódicos, revistas). Solo se ejecuta al "
                   "pulsar el atajo; requiere iniciar sesión; límite de uso diario"},
    {"rec.hud", "Mostrar una confirmación en pantalla"},
    {"rec.hudSub", "Una pequeña nota «Copiado» después de cada captura"},
    {"rec.sound", "Reproducir sonido al capturar"},
    {"hist.keep", "Guardar el historial"},
    {"hist.keepSub", "Solo el texto reconocido: las imágenes de la pantalla nunca se guardan"},
    {"hist.limit", "Tamaño del historial"},
    {"hist.limitSub", "Los textos más antiguos se eliminan primero"},
    {"hist.limitFmt", "%d elemento|%d elementos"},
    {"hist.clearNow", "Borrar historial"},
    {"hist.clearNowSub", "%d texto en el historial|%d textos en el historial"},
    {"hist.clearButton", "Borrar…"},
    {"hist.footer", "El historial se guarda localmente en ~/.local/share/Glintext y nunca sale de "
                    "este ordenador."},
    {"clear.title", "¿Borrar el historial?"},
    {"clear.body", "Esta acción no se puede deshacer."},
    {"clear.all", "Borrar todo"},
    {"priv.local", "Reconocimiento 100\u00A0% en el dispositivo"},
    {"priv.localSub",
     "El motor integrado funciona en este ordenador. La captura estándar nunca usa la red"},
    {"priv.noImages", "Las imágenes de la pantalla nunca se guardan"},
    {"priv.noImagesSub", "Las imágenes capturadas solo están en memoria durante el reconocimiento "
                         "y se descartan de inmediato"},
    {"priv.screenUse", "Acceso a la pantalla solo al capturar"},
    {"priv.screenUseSub",
     "Sin vigilancia en segundo plano: la pantalla solo se lee mientras arrastras una selección"},
    {"priv.hq", "La nube solo se usa para la captura de alta precisión"},
    {"priv.hqWhy", "La imagen de la zona seleccionada solo se envía a reconocer cuando pulsas este "
                   "atajo, y nunca se guarda"},
    {"priv.alwaysBadge", "Siempre activo"},
    {"priv.improve", "Ayudar a mejorar Glintext"},
    {"priv.improveSub",
     "Envía estadísticas anónimas, como el éxito del reconocimiento, y el texto reconocido cuando "
     "usas el reconocimiento en la nube, para mejorar la precisión. Las imágenes nunca se envían. "
     "Las contraseñas y otros datos confidenciales se ocultan en el servidor. No se incluye "
     "ninguna información de identificación personal. Puedes desactivarlo cuando quieras"},
    {"priv.footer",
     "Glintext no recopila analíticas ni muestra anuncios. La red solo se usa para sincronizar la "
     "configuración cuando inicias sesión y para la captura de alta precisión cuando la usas."},
    {"toast.copied", "Copiado"},
    {"toast.ocrDone", "%d carácter copiado|%d caracteres copiados"},
    {"toast.qrCopied", "Código QR copiado"},
    {"toast.noText", "No se encontró texto"},
    {"toast.captureFailed", "Error en la captura"},
    {"toast.hqWorking", "Refinando con alta precisión…"},
    {"toast.hqUpdated",
     "Resultado de alta precisión: %d carácter|Resultado de alta precisión: %d caracteres"},
    {"toast.hqTooSmall", "Texto demasiado pequeño para leerlo: amplía y vuelve a capturar"},
    {"toast.hqQuota",
     "Se alcanzó el límite diario de alta precisión: se conservó el resultado local"},
    {"toast.hqSignIn", "Inicia sesión en {host} para usar la captura de alta precisión"},
    {"toast.hqFailed", "Alta precisión no disponible: se conservó el resultado local"},
    {"about.tagline", "Apunta, arrastra y el texto es tuyo."},
    {"about.version", "Versión %@"},
    {"about.copyright", "© 2026 Los desarrolladores de Glintext. Todos los derechos reservados."},
    {"update.title", "Actualización de software"},
    {"update.upToDate", "¡Ya tienes la versión más reciente!"},
    {"update.upToDateBody", "Glintext %@ es la versión más reciente disponible."},
    {"update.available", "¡Hay una nueva versión de Glintext disponible!"},
    {"update.availableBody", "Glintext %@ ya está disponible."},
    {"update.installedVersion", "Tienes la versión %@."},
    {"update.failed", "Error de actualización"},
    {"update.failedBody", "Se ha producido un error al buscar actualizaciones: %@"},
    {"update.notes", "Notas de la versión %@…"},
    {"update.download", "Descargar"},
    {"update.later", "Recordármelo más tarde"},
    {"common.ok", "Aceptar"},
    {"onb.tagline", "Apunta, arrastra y el texto es tuyo."},
    {"onb.welcomeBody",
     "Glintext copia el texto de cualquier cosa que haya en tu pantalla: imágenes, vídeos, PDF e "
     "incluso texto vertical. Pulsa el atajo, arrastra sobre el texto y ya lo tienes en el "
     "portapapeles. Todo se queda en este ordenador."},
    {"onb.continue", "Continuar"},
    {"onb.permTitle", "Un solo permiso"},
    {"onb.permBody",
     "Tu entorno de escritorio puede requerir permiso de grabación de pantalla para leer el texto "
     "de la pantalla. Glintext solo lo usa en el momento de la captura. Es posible que tu entorno "
     "de escritorio te pida volver a abrir la aplicación después de concederlo."},
    {"onb.openSettings", "¿No aparece el aviso? Abrir la configuración del sistema"},
    {"onb.skipPerm", "Omitir por ahora"},
    {"onb.waiting", "Esperando el permiso: se continuará automáticamente cuando se conceda"},
    {"onb.tutTitle", "Cómo funciona"},
    {"onb.tutBody", "Cada vez que veas un texto que no puedes seleccionar:"},
    {"onb.tutOpen", "Iniciar una captura"},
    {"onb.tutDrag", "Arrastra para seleccionar la zona"},
    {"onb.tutPaste", "Pégalo donde quieras"},
    {"onb.tutCancel", "Cancelar una captura"},
    {"onb.improveTitle", "Ayudar a mejorar Glintext"},
    {"onb.improveBody", "Usa estadísticas de reconocimiento y el texto reconocido en la nube para "
                        "mejorar la precisión. Las imágenes nunca se envían y los datos "
                        "confidenciales se ocultan en el servidor"},
    {"onb.crashTitle", "Enviar informes de fallos"},
    {"onb.crashBody", "Solo diagnósticos: nunca el texto capturado. Puedes cambiarlo cuando "
                      "quieras en Configuración."},
    {"onb.startCta", "Empezar a usar Glintext"},
    {"menu.guide", "Guía de inicio"},
    {"onb.start", "Empezar"},
    {"onb.setupTitle", "Configuración recomendada"},
    {"onb.setupBody",
     "Una configuración para empezar enseguida. Puedes cambiarla más adelante en Configuración."},
    {"onb.readyTitle", "Todo listo"},
    {"common.granted", "Permitido"},
    {"common.back", "Atrás"},
    {"perm.ax", "Accesibilidad"},
    {"onb.tutResult",
     "El texto de la zona se copia al portapapeles y un breve mensaje lo confirma."},
    {"onb.trayNote", "Glintext vive ahora en la bandeja del sistema: haz clic en su icono para "
                     "capturar o clic derecho para ver el historial y la configuración."},
    {"onb.noTrayNote", "¿Tu escritorio no tiene bandeja? Ejecuta «glintext capture» para capturar "
                       "y «glintext settings» para abrir la configuración."},
    {"onb.loginBody",
     "Glintext espera discretamente en la bandeja, así el atajo funciona nada más iniciar sesión."},
    {"onb.pageDot", "Página %@"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::es() {
    return kEntries;
}

#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "Capturar texto"},
    {"menu.captureHQ", "Captura de alta precisão"},
    {"menu.permissionNeeded", "Permissão de gravação de tela necessária…"},
    {"menu.recent", "Textos recentes"},
    {"menu.settings", "Configurações…"},
    {"menu.check_updates", "Verificar atualizações…"},
    {"menu.about", "Sobre o Glintext"},
    {"menu.quit", "Sair do Glintext"},
    {"settings.title", "Configurações"},
    {"tab.general", "Geral"},
    {"tab.history", "Reconhecimento"},
    {"tab.privacy", "Privacidade"},
    {"tab.permissions", "Permissões"},
    {"tab.account", "Conta"},
    {"tab.about", "Sobre"},
    {"sub.general", "Atalho e idioma"},
    {"sub.history", "Limpeza, códigos QR e histórico"},
    {"sub.privacy", "O que nunca sai deste computador"},
    {"sub.permissions", "Permissões do sistema de que o Glintext precisa."},
    {"sub.account", "Login na nuvem e sincronização"},
    {"sub.about", "Sobre o Glintext"},
    {"common.systemDefault", "Sistema"},
    {"common.cancel", "Cancelar"},
    {"common.later", "Mais tarde"},
    {"common.grant", "Permitir"},
    {"common.checkNow", "Verificar agora"},
    {"acct.signedOutTitle", "Não conectado"},
    {"acct.signedOutBody", "Faça login para sincronizar suas configurações entre computadores."},
    {"acct.signIn", "Fazer login"},
    {"acct.signOut", "Sair da conta"},
    {"acct.signedIn", "Conectado"},
    {"acct.sync", "Sincronizar configurações"},
    {"acct.syncBody", "Mantenha as configurações sincronizadas em todos os seus computadores. O "
                      "texto capturado nunca é sincronizado."},
    {"acct.footer", "O login abre no seu navegador. O Glintext nunca vê sua senha."},
    {"gen.hotkey", "Capturar texto"},
    {"gen.hotkeySub", "Atalho global — selecione qualquer área da tela"},
    {"gen.language", "Idioma"},
    {"gen.languageSub", "Idioma da interface"},
    {"gen.launchLogin", "Abrir o Glintext ao iniciar a sessão"},
    {"gen.screenNote", "Seu ambiente gráfico pode exigir permissão de gravação de tela para ler o "
                       "texto da tela. O Glintext só a usa no momento da captura — as imagens são "
                       "reconhecidas neste computador e descartadas imediatamente."},
    {"gen.footer", "O reconhecimento acontece inteiramente neste computador. O Glintext não envia "
                   "nada para lugar nenhum."},
    {"gen.autoUpdate", "Verificar atualizações automaticamente"},
    {"gen.autoUpdateSub", "Verificar automaticamente se há novas versões"},
    {"gen.crashReports", "Enviar relatórios de falhas"},
    {"gen.crashReportsSub", "Apenas diagnósticos — nenhum dado pessoal e nunca o texto capturado. "
                            "Você pode desativar quando quiser."},
    {"perm.screen", "Gravação de tela"},
    {"perm.screenWhy", "Tira a captura de tela da área que você seleciona para reconhecimento. "
                       "Usada apenas quando você captura"},
    {"perm.granted", "Concedida"},
    {"perm.notGranted", "Não concedida"},
    {"perm.screenAlertTitle", "Permissão de gravação de tela necessária"},
    {"perm.screenAlertBody",
     "O Glintext precisa de permissão de gravação de tela para ler o texto da sua tela. Conceda-a "
     "nas configurações do sistema e tente novamente. Seu ambiente gráfico pode pedir que você "
     "reabra o aplicativo."},
    {"perm.openSettings", "Abrir configurações do sistema"},
    {"perm.footer",
     "Usada apenas para capturar — nada do que você captura sai deste computador. Seu ambiente "
     "gráfico pode pedir que você reinicie o aplicativo depois de conceder."},
    {"rec.cleanup", "Limpar o texto reconhecido"},
    {"rec.cleanupSub", "Normaliza os espaços e corrige linhas CJK verticais fragmentadas"},
    {"rec.qr", "Ler códigos QR e de barras"},
    {"rec.qrSub", "Copia o conteúdo decodificado quando há um código na seleção"},
    {"rec.hqTitle", "Alta precisão (nuvem)"},
    {"rec.hqDesc", "Relê a área capturada na nuvem para restaurar a ordem de leitura de layouts "
                   "com várias colunas (jornais, revistas). Só é executada quando você pressiona o "
                   "atalho; exige login; limite diário de uso"},
    {"rec.hud", "Mostrar confirmação na tela"},
    {"rec.hudSub", "Um pequeno aviso “Copiado” depois de cada captura"},
    {"rec.sound", "Tocar som ao capturar"},
    {"hist.keep", "Manter histórico"},
    {"hist.keepSub", "Apenas o texto reconhecido — imagens da tela nunca são salvas"},
    {"hist.limit", "Tamanho do histórico"},
    {"hist.limitSub", "Os textos mais antigos são removidos primeiro"},
    {"hist.limitFmt", "%d item|%d itens"},
    {"hist.clearNow", "Limpar histórico"},
    {"hist.clearNowSub", "%d texto no histórico|%d textos no histórico"},
    {"hist.clearButton", "Limpar…"},
    {"hist.footer", "O histórico é armazenado localmente em ~/.local/share/Glintext e nunca sai "
                    "deste computador."},
    {"clear.title", "Limpar o histórico?"},
    {"clear.body", "Esta ação não pode ser desfeita."},
    {"clear.all", "Limpar tudo"},
    {"priv.local", "Reconhecimento 100% no dispositivo"},
    {"priv.localSub",
     "O mecanismo integrado roda neste computador. A captura padrão nunca usa a rede"},
    {"priv.noImages", "Imagens da tela nunca são salvas"},
    {"priv.noImagesSub", "As imagens capturadas ficam na memória só durante o reconhecimento e são "
                         "descartadas imediatamente"},
    {"priv.screenUse", "Acesso à tela só quando você captura"},
    {"priv.screenUseSub",
     "Nenhuma observação em segundo plano — a tela só é lida enquanto você arrasta uma seleção"},
    {"priv.hq", "A nuvem é usada apenas na captura de alta precisão"},
    {"priv.hqWhy", "Só quando você pressiona este atalho a imagem da área selecionada é enviada "
                   "para reconhecimento — nunca armazenada"},
    {"priv.alwaysBadge", "Sempre ativo"},
    {"priv.improve", "Ajudar a melhorar o Glintext"},
    {"priv.improveSub",
     "Envia estatísticas anônimas, como o sucesso do reconhecimento, e o texto reconhecido quando "
     "você usa o reconhecimento na nuvem, para melhorar a precisão. Imagens nunca são enviadas. "
     "Senhas e outros dados sigilosos são mascarados no servidor. Nenhuma informação de "
     "identificação pessoal é incluída. Você pode desativar quando quiser"},
    {"priv.footer", "O Glintext não coleta dados de análise e não tem anúncios. A rede é usada "
                    "apenas para sincronizar as configurações quando você faz login e para a "
                    "captura de alta precisão quando você a aciona."},
    {"toast.copied", "Copiado"},
    {"toast.ocrDone", "%d caractere copiado|%d caracteres copiados"},
    {"toast.qrCopied", "Código QR copiado"},
    {"toast.noText", "Nenhum texto encontrado"},
    {"toast.captureFailed", "Falha na captura"},
    {"toast.hqWorking", "Refinando com alta precisão…"},
    {"toast.hqUpdated",
     "Resultado de alta precisão: %d caractere|Resultado de alta precisão: %d caracteres"},
    {"toast.hqTooSmall", "Texto pequeno demais para ler — aproxime e capture de novo"},
    {"toast.hqQuota", "Limite diário de alta precisão atingido — o resultado local foi mantido"},
    {"toast.hqSignIn", "Faça login em {host} para usar a captura de alta precisão"},
    {"toast.hqFailed", "Alta precisão indisponível — o resultado local foi mantido"},
    {"about.tagline", "Aponte, arraste e o texto é seu."},
    {"about.version", "Versão %@"},
    {"about.copyright", "© 2026 Os desenvolvedores do Glintext. Todos os direitos reservados."},
    {"update.title", "Atualização de software"},
    {"update.upToDate", "Você já tem a versão mais recente!"},
    {"update.upToDateBody", "O Glintext %@ é a versão mais recente disponível."},
    {"update.available", "Uma nova versão do Glintext está disponível!"},
    {"update.availableBody", "O Glintext %@ já está disponível."},
    {"update.installedVersion", "Você tem a versão %@."},
    {"update.failed", "Erro de atualização"},
    {"update.failedBody", "Ocorreu um erro ao procurar atualizações: %@"},
    {"update.notes", "Notas da versão %@…"},
    {"update.download", "Baixar"},
    {"update.later", "Lembrar mais tarde"},
    {"common.ok", "OK"},
    {"onb.tagline", "Aponte, arraste e o texto é seu."},
    {"onb.welcomeBody", "O Glintext copia o texto de qualquer coisa na sua tela — imagens, vídeos, "
                        "PDFs e até texto vertical. Pressione o atalho, arraste sobre o texto e "
                        "ele estará na sua área de transferência. Tudo fica neste computador."},
    {"onb.continue", "Continuar"},
    {"onb.permTitle", "Uma única permissão"},
    {"onb.permBody", "Seu ambiente gráfico pode exigir permissão de gravação de tela para ler o "
                     "texto da tela. O Glintext só a usa no momento da captura. Seu ambiente "
                     "gráfico pode pedir que você reabra o aplicativo depois de conceder."},
    {"onb.openSettings", "Nenhum aviso? Abrir configurações do sistema"},
    {"onb.skipPerm", "Pular por enquanto"},
    {"onb.waiting", "Aguardando a permissão — continua automaticamente assim que for concedida"},
    {"onb.tutTitle", "Como funciona"},
    {"onb.tutBody", "Sempre que você vir um texto que não dá para selecionar:"},
    {"onb.tutOpen", "Iniciar uma captura"},
    {"onb.tutDrag", "Arraste para selecionar a área"},
    {"onb.tutPaste", "Cole onde quiser"},
    {"onb.tutCancel", "Cancelar uma captura"},
    {"onb.improveTitle", "Ajudar a melhorar o Glintext"},
    {"onb.improveBody",
     "Usa estatísticas de reconhecimento e o texto reconhecido na nuvem para melhorar a precisão. "
     "Imagens nunca são enviadas, e dados sigilosos são mascarados no servidor"},
    {"onb.crashTitle", "Enviar relatórios de falhas"},
    {"onb.crashBody",
     "Apenas diagnósticos — nunca o texto capturado. Altere quando quiser nas Configurações."},
    {"onb.startCta", "Começar a usar o Glintext"},
    {"menu.guide", "Guia de introdução"},
    {"onb.start", "Começar"},
    {"onb.setupTitle", "Configurações recomendadas"},
    {"onb.setupBody", "Configurações para você começar agora mesmo. Você pode alterá-las quando "
                      "quiser nas Configurações."},
    {"onb.readyTitle", "Tudo pronto"},
    {"common.granted", "Permitido"},
    {"common.back", "Voltar"},
    {"perm.ax", "Acessibilidade"},
    {"onb.tutResult",
     "O texto da área é copiado para a área de transferência, e uma breve mensagem confirma."},
    {"onb.trayNote", "O Glintext agora fica na bandeja do sistema: clique no ícone para capturar "
                     "ou clique com o botão direito para ver o histórico e as configurações."},
    {"onb.noTrayNote", "Seu ambiente de trabalho não tem bandeja? Execute “glintext capture” para "
                       "capturar e “glintext settings” para abrir as configurações."},
    {"onb.loginBody", "O Glintext fica discretamente na bandeja, para o atalho funcionar assim que "
                      "você iniciar a sessão."},
    {"onb.pageDot", "Página %@"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::ptBR() {
    return kEntries;
}

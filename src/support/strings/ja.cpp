#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "テキストをキャプチャ"},
    {"menu.captureHQ", "高精度キャプチャ"},
    {"menu.permissionNeeded", "画面録画の許可が必要です…"},
    {"menu.recent", "最近のキャプチャ"},
    {"menu.settings", "設定…"},
    {"menu.check_updates", "アップデートを確認…"},
    {"menu.about", "Glintext について"},
    {"menu.quit", "Glintext を終了"},
    {"settings.title", "設定"},
    {"tab.general", "一般"},
    {"tab.history", "認識"},
    {"tab.privacy", "プライバシー"},
    {"tab.permissions", "権限"},
    {"tab.account", "アカウント"},
    {"tab.about", "情報"},
    {"sub.general", "ホットキーと言語"},
    {"sub.history", "整形、QR コード、履歴"},
    {"sub.privacy", "このコンピュータの外に出ないもの"},
    {"sub.permissions", "Glintext に必要なシステム権限です。"},
    {"sub.account", "クラウドへのサインインと同期"},
    {"sub.about", "Glintext について"},
    {"common.systemDefault", "システム"},
    {"common.cancel", "キャンセル"},
    {"common.later", "あとで"},
    {"common.grant", "許可"},
    {"common.checkNow", "今すぐ確認"},
    {"acct.signedOutTitle", "サインインしていません"},
    {"acct.signedOutBody", "サインインすると、複数のコンピュータ間で設定を同期できます。"},
    {"acct.signIn", "サインイン"},
    {"acct.signOut", "サインアウト"},
    {"acct.signedIn", "サインイン済み"},
    {"acct.sync", "設定を同期"},
    {"acct.syncBody",
     "お使いのコンピュータ間で設定を同期します。キャプチャしたテキストは同期されません。"},
    {"acct.footer",
     "サインインするとブラウザが開きます。Glintext がパスワードを見ることはありません。"},
    {"gen.hotkey", "テキストをキャプチャ"},
    {"gen.hotkeySub", "画面の任意の範囲を選択するグローバルホットキー"},
    {"gen.language", "言語"},
    {"gen.languageSub", "アプリの表示言語"},
    {"gen.launchLogin", "ログイン時に Glintext を起動"},
    {"gen.screenNote",
     "画面からテキストを読み取るには、デスクトップ環境によっては画面録画の許可が必要です。Glintext "
     "がこれを使うのはキャプチャの瞬間だけです。画像はこのコンピュータ上で認識され、すぐに破棄され"
     "ます。"},
    {"gen.footer",
     "認識はすべてこのコンピュータ上で行われます。Glintext はどこにも何も送信しません。"},
    {"gen.autoUpdate", "アップデートを自動的に確認"},
    {"gen.autoUpdateSub", "新しいバージョンを自動的に確認します"},
    {"gen.crashReports", "クラッシュレポートを送信"},
    {"gen.crashReportsSub", "診断情報のみを送信します。個人データやキャプチャした内容は一切含みませ"
                            "ん。いつでもオフにできます。"},
    {"perm.screen", "画面録画"},
    {"perm.screenWhy",
     "認識のために選択した範囲のスクリーンショットを撮ります。キャプチャ時にのみ使用します"},
    {"perm.granted", "許可済み"},
    {"perm.notGranted", "未許可"},
    {"perm.screenAlertTitle", "画面録画の許可が必要です"},
    {"perm.screenAlertBody",
     "画面からテキストを読み取るには、Glintext "
     "に画面録画の許可が必要です。システム設定で許可してから、もう一度お試しください。デスクトップ"
     "環境によっては、アプリを開き直すよう求められることがあります。"},
    {"perm.openSettings", "システム設定を開く"},
    {"perm.footer",
     "キャプチャにのみ使用します。キャプチャした内容がこのコンピュータの外に出ることはありません。"
     "許可した後、デスクトップ環境によってはアプリの再起動を求められることがあります。"},
    {"rec.cleanup", "認識したテキストを整形"},
    {"rec.cleanupSub", "空白を整え、分断された縦書きの CJK 行をつなぎ直します"},
    {"rec.qr", "QR コードとバーコードを読み取る"},
    {"rec.qrSub", "選択範囲にコードがあると、読み取った内容をコピーします"},
    {"rec.hqTitle", "高精度（クラウド）"},
    {"rec.hqDesc", "クラウドでキャプチャ範囲を読み直し、段組みのレイアウト（新聞、雑誌）の読み順を"
                   "復元します。ショートカットを押したときだけ実行されます。サインインが必要です。1"
                   " 日の利用回数に上限があります"},
    {"rec.hud", "コピー完了を画面に表示"},
    {"rec.hudSub", "キャプチャのたびに小さく「コピーしました」と表示します"},
    {"rec.sound", "キャプチャ時にサウンドを再生"},
    {"hist.keep", "キャプチャ履歴を保存"},
    {"hist.keepSub", "保存するのは認識したテキストのみで、スクリーンショットは保存しません"},
    {"hist.limit", "履歴の件数"},
    {"hist.limitSub", "古いキャプチャから削除されます"},
    {"hist.limitFmt", "%d 件"},
    {"hist.clearNow", "履歴を消去"},
    {"hist.clearNowSub", "保存済みのキャプチャ：%d 件"},
    {"hist.clearButton", "消去…"},
    {"hist.footer", "履歴は ~/.local/share/Glintext "
                    "にローカル保存され、このコンピュータの外に出ることはありません。"},
    {"clear.title", "キャプチャ履歴を消去しますか？"},
    {"clear.body", "この操作は取り消せません。"},
    {"clear.all", "すべて消去"},
    {"priv.local", "100% デバイス上で認識"},
    {"priv.localSub", "内蔵エンジンがこのコンピュータ上で動作します。通常のキャプチャはネットワーク"
                      "を一切使いません"},
    {"priv.noImages", "スクリーンショットは保存されません"},
    {"priv.noImagesSub",
     "キャプチャした画像は認識のためにメモリ上にだけ置かれ、すぐに破棄されます"},
    {"priv.screenUse", "画面へのアクセスはキャプチャ時のみ"},
    {"priv.screenUseSub",
     "バックグラウンドでの監視はしません。画面を読み取るのは範囲をドラッグしている間だけです"},
    {"priv.hq", "クラウドは高精度キャプチャにのみ使用"},
    {"priv.hqWhy", "このショートカットを押したときだけ、選択範囲の画像が認識のために送信されます。"
                   "保存はされません"},
    {"priv.alwaysBadge", "常に有効"},
    {"priv.improve", "Glintext の改善に協力"},
    {"priv.improveSub",
     "精度向上のため、認識の成功率などの匿名の統計と、クラウド認識を使った場合はその認識テキストを"
     "送信します。画像は送信されません。パスワードなどの機密情報はサーバー上でマスクされます。個人"
     "を特定できる情報は含まれません。いつでもオフにできます"},
    {"priv.footer", "Glintext "
                    "は分析データを収集せず、広告もありません。ネットワークを使うのは、サインイン時"
                    "の設定同期と、高精度キャプチャを実行したときだけです。"},
    {"toast.copied", "コピーしました"},
    {"toast.ocrDone", "%d 文字をコピーしました"},
    {"toast.qrCopied", "QR コードをコピーしました"},
    {"toast.noText", "テキストが見つかりません"},
    {"toast.captureFailed", "キャプチャに失敗しました"},
    {"toast.hqWorking", "高精度で読み直しています…"},
    {"toast.hqUpdated", "高精度の結果：%d 文字"},
    {"toast.hqTooSmall", "文字が小さすぎて読めません。拡大してもう一度キャプチャしてください"},
    {"toast.hqQuota", "本日の高精度の上限に達しました。端末での認識結果を使用します"},
    {"toast.hqSignIn", "高精度キャプチャを使うには {host} でサインインしてください"},
    {"toast.hqFailed", "高精度を利用できません。端末での認識結果を使用します"},
    {"about.tagline", "指して、なぞれば、テキストはあなたのもの。"},
    {"about.version", "バージョン %@"},
    {"about.copyright", "© 2026 Glintext 開発者。無断複製・転載を禁じます。"},
    {"onb.tagline", "指して、なぞれば、テキストはあなたのもの。"},
    {"onb.welcomeBody", "Glintext "
                        "は、画像や動画、PDF、縦書きの文字まで、画面に映るあらゆるものからテキスト"
                        "をコピーします。ホットキーを押してテキストの上をドラッグすれば、クリップボ"
                        "ードに入ります。すべてはこのコンピュータの中で完結します。"},
    {"onb.continue", "続ける"},
    {"onb.permTitle", "必要な許可はひとつだけ"},
    {"onb.permBody",
     "画面からテキストを読み取るには、デスクトップ環境によっては画面録画の許可が必要です。Glintext "
     "がこれを使うのはキャプチャの瞬間だけです。許可した後、デスクトップ環境によってはアプリを開き"
     "直すよう求められることがあります。"},
    {"onb.openSettings", "確認が表示されない場合は、システム設定を開く"},
    {"onb.skipPerm", "今はスキップ"},
    {"onb.waiting", "許可を待っています。許可されると自動的に進みます"},
    {"onb.tutTitle", "使い方"},
    {"onb.tutBody", "選択できないテキストを見つけたら："},
    {"onb.tutOpen", "キャプチャを開始"},
    {"onb.tutDrag", "ドラッグして範囲を選択"},
    {"onb.tutPaste", "どこにでも貼り付け"},
    {"onb.tutCancel", "キャプチャをキャンセル"},
    {"onb.improveTitle", "Glintext の改善に協力"},
    {"onb.improveBody", "認識の統計とクラウドで認識したテキストを精度向上に使います。画像は送信され"
                        "ず、機密情報はサーバー上でマスクされます"},
    {"onb.crashTitle", "クラッシュレポートを送信"},
    {"onb.crashBody",
     "診断情報のみで、キャプチャした内容は含みません。設定でいつでも変更できます。"},
    {"onb.startCta", "Glintext を使い始める"},
    {"menu.guide", "使い方ガイド"},
    {"onb.start", "はじめる"},
    {"onb.setupTitle", "おすすめの設定"},
    {"onb.setupBody", "すぐに使い始めるための設定です。あとから設定でいつでも変更できます。"},
    {"onb.readyTitle", "準備が整いました"},
    {"common.granted", "許可済み"},
    {"common.back", "戻る"},
    {"perm.ax", "アクセシビリティ"},
    {"onb.tutResult", "範囲内のテキストがクリップボードにコピーされ、短いメッセージで知らせます。"},
    {"onb.trayNote", "Glintext "
                     "はシステムトレイに常駐します。アイコンをクリックするとキャプチャ、右クリック"
                     "で履歴と設定を開けます。"},
    {"onb.noTrayNote", "デスクトップにトレイがない場合は、「glintext "
                       "capture」でキャプチャ、「glintext settings」で設定を開けます。"},
    {"onb.loginBody",
     "Glintext はトレイで静かに待機するので、ログイン直後からショートカットが使えます。"},
    {"onb.pageDot", "%@ ページ"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::ja() {
    return kEntries;
}

#include "support/LocalizationTables.h"

namespace {

constexpr LocalizationTables::Entry kEntries[] = {
    {"menu.capture", "Metni Yakala"},
    {"menu.captureHQ", "Yüksek Doğruluklu Yakalama"},
    {"menu.permissionNeeded", "Ekran kaydı izni gerekiyor…"},
    {"menu.recent", "Son yakalamalar"},
    {"menu.settings", "Ayarlar…"},
    {"menu.check_updates", "Güncellemeleri Kontrol Et…"},
    {"menu.about", "Glintext Hakkında"},
    {"menu.quit", "Glintext’ten Çık"},
    {"settings.title", "Ayarlar"},
    {"tab.general", "Genel"},
    {"tab.history", "Tanıma"},
    {"tab.privacy", "Gizlilik"},
    {"tab.permissions", "İzinler"},
    {"tab.account", "Hesap"},
    {"tab.about", "Hakkında"},
    {"sub.general", "Kısayol tuşu ve dil"},
    {"sub.history", "Temizleme, QR kodları ve geçmiş"},
    {"sub.privacy", "Bu bilgisayardan asla çıkmayanlar"},
    {"sub.permissions", "Glintext’in ihtiyaç duyduğu sistem izinleri."},
    {"sub.account", "Bulut girişi ve eşitleme"},
    {"sub.about", "Glintext Hakkında"},
    {"common.systemDefault", "Sistem"},
    {"common.cancel", "İptal"},
    {"common.later", "Daha sonra"},
    {"common.grant", "İzin ver"},
    {"common.checkNow", "Şimdi kontrol et"},
    {"acct.signedOutTitle", "Giriş yapılmadı"},
    {"acct.signedOutBody", "Ayarlarınızı bilgisayarlarınız arasında eşitlemek için giriş yapın."},
    {"acct.signIn", "Giriş yap"},
    {"acct.signOut", "Çıkış yap"},
    {"acct.signedIn", "Giriş yapıldı"},
    {"acct.sync", "Ayarları eşitle"},
    {"acct.syncBody",
     "Ayarlarınızı tüm bilgisayarlarınızda aynı tutun. Yakalanan metin asla eşitlenmez."},
    {"acct.footer", "Giriş tarayıcınızda açılır. Glintext parolanızı asla görmez."},
    {"gen.hotkey", "Metni yakala"},
    {"gen.hotkeySub", "Genel kısayol tuşu — ekranın herhangi bir alanını seçin"},
    {"gen.language", "Dil"},
    {"gen.languageSub", "Uygulama arayüzünün dili"},
    {"gen.launchLogin", "Oturum açılınca Glintext’i başlat"},
    {"gen.screenNote", "Masaüstü ortamınız, ekrandaki metni okumak için ekran kaydı izni "
                       "isteyebilir. Glintext bu izni yalnızca yakalama anında kullanır — "
                       "görüntüler bu bilgisayarda tanınır ve hemen silinir."},
    {"gen.footer",
     "Tanıma tamamen bu bilgisayarda yapılır. Glintext hiçbir yere hiçbir şey göndermez."},
    {"gen.autoUpdate", "Güncellemeleri otomatik olarak kontrol et"},
    {"gen.autoUpdateSub", "Yeni sürümleri otomatik olarak kontrol et"},
    {"gen.crashReports", "Çökme raporları gönder"},
    {"gen.crashReportsSub", "Yalnızca tanılama verileri — kişisel veriler ve yakaladığınız metin "
                            "asla gönderilmez. Bunu istediğiniz zaman kapatabilirsiniz."},
    {"perm.screen", "Ekran kaydı"},
    {"perm.screenWhy", "Tanıma için seçtiğiniz alanın ekran görüntüsünü alır. Yalnızca yakalama "
                       "sırasında kullanılır"},
    {"perm.granted", "Verildi"},
    {"perm.notGranted", "Verilmedi"},
    {"perm.screenAlertTitle", "Ekran kaydı izni gerekiyor"},
    {"perm.screenAlertBody",
     "Glintext’in ekranınızdaki metni okuyabilmesi için ekran kaydı izni gerekir. Bu izni sistem "
     "ayarlarından verin, ardından yeniden deneyin. Masaüstü ortamınız uygulamayı yeniden açmanızı "
     "isteyebilir."},
    {"perm.openSettings", "Sistem ayarlarını aç"},
    {"perm.footer",
     "Yalnızca yakalama için kullanılır — yakaladığınız hiçbir şey bu bilgisayardan asla çıkmaz. "
     "İzni verdikten sonra masaüstü ortamınız uygulamayı yeniden başlatmanızı isteyebilir."},
    {"rec.cleanup", "Tanınan metni temizle"},
    {"rec.cleanupSub", "Boşlukları düzenler ve parçalanmış dikey CJK satırlarını onarır"},
    {"rec.qr", "QR kodlarını ve barkodları oku"},
    {"rec.qrSub", "Seçimde bir kod olduğunda çözülen içeriği kopyalar"},
    {"rec.hqTitle", "Yüksek doğruluk (bulut)"},
    {"rec.hqDesc", "Çok sütunlu sayfa düzenlerinin (gazeteler, dergiler) okuma sırasını geri "
                   "getirmek için yakalanan alanı bulutta yeniden okur. Yalnızca kısayola "
                   "bastığınızda çalışır; giriş gerektirir; günlük kullanım sınırı vardır"},
    {"rec.hud", "Ekranda onay göster"},
    {"rec.hudSub", "Her yakalamadan sonra küçük bir “Kopyalandı” notu"},
    {"rec.sound", "Yakalamada ses çal"},
    {"hist.keep", "Yakalama geçmişini sakla"},
    {"hist.keepSub", "Yalnızca tanınan metin — ekran görüntüleri asla kaydedilmez"},
    {"hist.limit", "Geçmiş boyutu"},
    {"hist.limitSub", "En eski yakalamalar önce silinir"},
    {"hist.limitFmt", "%d öğe"},
    {"hist.clearNow", "Geçmişi temizle"},
    {"hist.clearNowSub", "Geçmişte %d kayıt var"},
    {"hist.clearButton", "Temizle…"},
    {"hist.footer", "Geçmiş yerel olarak ~/.local/share/Glintext içinde saklanır ve bu "
                    "bilgisayardan asla çıkmaz."},
    {"clear.title", "Yakalama geçmişi temizlensin mi?"},
    {"clear.body", "Bu işlem geri alınamaz."},
    {"clear.all", "Tümünü temizle"},
    {"priv.local", "%100 cihaz üzerinde tanıma"},
    {"priv.localSub",
     "Yerleşik motor bu bilgisayarda çalışır. Standart yakalama ağı asla kullanmaz"},
    {"priv.noImages", "Ekran görüntüleri asla kaydedilmez"},
    {"priv.noImagesSub",
     "Yakalanan görüntüler yalnızca tanıma için bellekte tutulur ve hemen silinir"},
    {"priv.screenUse", "Ekran erişimi yalnızca yakalama sırasında"},
    {"priv.screenUseSub",
     "Arka planda izleme yok — ekran yalnızca siz bir seçim sürüklerken okunur"},
    {"priv.hq", "Bulut yalnızca yüksek doğruluklu yakalama için kullanılır"},
    {"priv.hqWhy", "Yalnızca bu kısayola bastığınızda seçili alanın görüntüsü tanıma için "
                   "gönderilir — asla saklanmaz"},
    {"priv.alwaysBadge", "Her zaman açık"},
    {"priv.improve", "Glintext’i geliştirmeye yardım edin"},
    {"priv.improveSub",
     "Doğruluğu artırmak için tanıma başarısı gibi anonim istatistikleri ve bulut tanımayı "
     "kullandığınızda tanınan metni gönderir. Görüntüler asla gönderilmez. Parolalar ve diğer "
     "hassas bilgiler sunucuda maskelenir. Kişisel olarak tanımlayıcı hiçbir bilgi eklenmez. Bunu "
     "istediğiniz zaman kapatabilirsiniz"},
    {"priv.footer",
     "Glintext analiz verisi toplamaz ve reklam içermez. Ağ yalnızca giriş yaptığınızda ayarların "
     "eşitlenmesi ve siz başlattığınızda yüksek doğruluklu yakalama için kullanılır."},
    {"toast.copied", "Kopyalandı"},
    {"toast.ocrDone", "%d karakter kopyalandı"},
    {"toast.qrCopied", "QR kodu kopyalandı"},
    {"toast.noText", "Metin bulunamadı"},
    {"toast.captureFailed", "Yakalama başarısız oldu"},
    {"toast.hqWorking", "Yüksek doğrulukla iyileştiriliyor…"},
    {"toast.hqUpdated", "Yüksek doğruluklu sonuç: %d karakter"},
    {"toast.hqTooSmall", "Metin okunamayacak kadar küçük — yakınlaştırıp yeniden yakalayın"},
    {"toast.hqQuota", "Günlük yüksek doğruluk sınırına ulaşıldı — yerel sonuç korundu"},
    {"toast.hqSignIn", "Yüksek doğruluklu yakalamayı kullanmak için {host} adresinde giriş yapın"},
    {"toast.hqFailed", "Yüksek doğruluk kullanılamıyor — yerel sonuç korundu"},
    {"about.tagline", "İşaret edin, sürükleyin — metin sizin."},
    {"about.version", "Sürüm %@"},
    {"about.copyright", "© 2026 Glintext geliştiricileri. Tüm hakları saklıdır."},
    {"onb.tagline", "İşaret edin, sürükleyin — metin sizin."},
    {"onb.welcomeBody", "Glintext ekranınızdaki her şeyden metin kopyalar — görüntüler, videolar, "
                        "PDF’ler, hatta dikey metin. Kısayol tuşuna basın, metnin üzerinde "
                        "sürükleyin ve metin panonuza gelsin. Her şey bu bilgisayarda kalır."},
    {"onb.continue", "Devam"},
    {"onb.permTitle", "Tek bir izin"},
    {"onb.permBody", "Masaüstü ortamınız, ekrandaki metni okumak için ekran kaydı izni "
                     "isteyebilir. Glintext bu izni yalnızca yakalama anında kullanır. İzni "
                     "verdikten sonra masaüstü ortamınız uygulamayı yeniden açmanızı isteyebilir."},
    {"onb.openSettings", "İstem çıkmadı mı? Sistem ayarlarını aç"},
    {"onb.skipPerm", "Şimdilik atla"},
    {"onb.waiting", "İzin bekleniyor — izin verildiğinde otomatik olarak devam eder"},
    {"onb.tutTitle", "Nasıl çalışır"},
    {"onb.tutBody", "Seçemediğiniz bir metin gördüğünüzde:"},
    {"onb.tutOpen", "Yakalamayı başlatın"},
    {"onb.tutDrag", "Alanı seçmek için sürükleyin"},
    {"onb.tutPaste", "İstediğiniz yere yapıştırın"},
    {"onb.tutCancel", "Yakalamayı iptal edin"},
    {"onb.improveTitle", "Glintext’i geliştirmeye yardım edin"},
    {"onb.improveBody",
     "Doğruluğu artırmak için tanıma istatistiklerini ve bulutta tanınan metni kullanır. "
     "Görüntüler asla gönderilmez ve hassas bilgiler sunucuda maskelenir"},
    {"onb.crashTitle", "Çökme raporları gönder"},
    {"onb.crashBody", "Yalnızca tanılama verileri — yakaladığınız metin asla gönderilmez. "
                      "İstediğiniz zaman Ayarlar’dan değiştirebilirsiniz."},
    {"onb.startCta", "Glintext’i kullanmaya başla"},
    {"menu.guide", "Başlangıç Kılavuzu"},
    {"onb.start", "Başla"},
    {"onb.setupTitle", "Önerilen ayarlar"},
    {"onb.setupBody", "Hemen başlamanız için ayarlar. Bunları daha sonra istediğiniz zaman "
                      "Ayarlar’dan değiştirebilirsiniz."},
    {"onb.readyTitle", "Her şey hazır"},
    {"common.granted", "İzin verildi"},
    {"common.back", "Geri"},
    {"perm.ax", "Erişilebilirlik"},
    {"onb.tutResult", "Alandaki metin panoya kopyalanır ve kısa bir mesaj bunu onaylar."},
    {"onb.trayNote", "Glintext artık sistem tepsisinde: yakalamak için simgesine tıklayın, geçmiş "
                     "ve ayarlar için sağ tıklayın."},
    {"onb.noTrayNote", "Masaüstünüzde tepsi yok mu? Yakalamak için “glintext capture”, ayarları "
                       "açmak için “glintext settings” komutunu çalıştırın."},
    {"onb.loginBody",
     "Glintext tepside sessizce bekler; böylece kısayol, oturum açar açmaz çalışır."},
    {"onb.pageDot", "Sayfa %@"},
};

} // namespace

std::span<const LocalizationTables::Entry> LocalizationTables::Source::tr() {
    return kEntries;
}

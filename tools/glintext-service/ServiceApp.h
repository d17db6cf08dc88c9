#pragma once

#include "AccountHandlers.h"
#include "AppcastHandler.h"
#include "BearerAuth.h"
#include "OcrHandler.h"
#include "ReportHandlers.h"
#include "ServiceClock.h"
#include "ServiceHttpServer.h"
#include "ServiceOptions.h"
#include "ServiceRouter.h"
#include "ServiceStore.h"
#include "SyncHandler.h"
#include "TestControlHandlers.h"

// The composition root: builds every part of the service once, in order, and starts it.
class ServiceApp {
public:
    explicit ServiceApp(const ServiceOptions& options);

    // Opens the database, loads the feed and starts listening; false, with the reason on
    // standard error, when it cannot.
    bool start();

private:
    bool loadAppcastFile();
    bool tlsConfiguration(std::optional<QSslConfiguration>* tls);

    ServiceOptions options_;
    ServiceStore store_;
    ServiceClock clock_;
    BearerAuth auth_;
    ServiceRouter router_;
    AccountHandlers accounts_;
    OcrHandler ocr_;
    SyncHandler sync_;
    ReportHandlers reports_;
    AppcastHandler appcast_;
    TestControlHandlers testControls_;
    ServiceHttpServer server_;
};

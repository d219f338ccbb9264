#pragma once

class QWebEngineDownloadRequest;

namespace runtime {

// Asks the client of the page that started the download how to go on; a
// download that the client does not continue while it is asked is cancelled.
void HandleDownloadRequest(QWebEngineDownloadRequest* request);

}  // namespace runtime

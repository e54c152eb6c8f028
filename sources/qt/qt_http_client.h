// The HTTP client on QtNetwork: an HTTPS GET with certificate verification, redirects followed
// only where they keep the connection as safe, and a body cap.
#pragma once

#include <memory>

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QSslCertificate>
#include <QUrl>

#include "sources/http_client.h"

class QNetworkReply;

namespace maskora {

class QtHttpClient : public HttpClient {
 public:
  // The address script answers with a few bytes; a larger body is taken as a failed request.
  static constexpr qsizetype kBodyLimit = 64 * 1024;

  // Trusts the system's certificate authorities, or only caCertificates when that is not empty.
  explicit QtHttpClient(QList<QSslCertificate> caCertificates = {});
  ~QtHttpClient() override;
  QtHttpClient(const QtHttpClient&) = delete;
  QtHttpClient& operator=(const QtHttpClient&) = delete;

  void Open(const Text& url) override;
  void Send() override;
  int ReadyState() override;
  std::vector<std::uint8_t> ResponseBody() override;
  void Abort() noexcept override;

 private:
  // Drops the request, its connections and its data.
  void Reset() noexcept;
  void OnReadyRead();
  void OnFinished();

  QList<QSslCertificate> caCertificates_;
  QNetworkAccessManager manager_;
  QPointer<QNetworkReply> reply_;
  QList<QMetaObject::Connection> connections_;
  QUrl url_;
  QByteArray body_;
  int state_ = 0;
  bool failed_ = false;
};

class QtHttpClientFactory : public HttpClientFactory {
 public:
  // extraCaCertificates are trusted besides the system's authorities (for test servers).
  explicit QtHttpClientFactory(const QList<QSslCertificate>& extraCaCertificates = {});
  std::unique_ptr<HttpClient> Create() override;

 private:
  QList<QSslCertificate> caCertificates_;
};

}  // namespace maskora

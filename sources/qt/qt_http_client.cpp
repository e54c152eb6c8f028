#include "sources/qt/qt_http_client.h"

#include <algorithm>

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QString>

namespace maskora {

namespace {

constexpr int kUnsent = 0;
constexpr int kOpened = 1;
constexpr int kHeadersReceived = 2;
constexpr int kLoading = 3;

// Errors that QtNetwork raises for a response that did arrive, with an HTTP error status.
// Such a response is an answer like any other: its body is the result.
bool IsErrorStatus(QNetworkReply::NetworkError error) {
  switch (error) {
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::AuthenticationRequiredError:
    case QNetworkReply::ContentConflictError:
    case QNetworkReply::ContentGoneError:
    case QNetworkReply::UnknownContentError:
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::InternalServerError:
    case QNetworkReply::OperationNotImplementedError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
      return true;
    default:
      return false;
  }
}

}  // namespace

QtHttpClient::QtHttpClient(QList<QSslCertificate> caCertificates)
    : caCertificates_(std::move(caCertificates)) {}

QtHttpClient::~QtHttpClient() {
  Reset();
}

void QtHttpClient::Reset() noexcept {
  for (const auto& connection : connections_) {
    QObject::disconnect(connection);
  }
  connections_.clear();
  if (reply_) {
    reply_->abort();
    reply_->deleteLater();
    reply_ = nullptr;
  }
  body_.clear();
  failed_ = false;
  state_ = kUnsent;
}

void QtHttpClient::Open(const Text& url) {
  Reset();
  QUrl parsed(QString::fromStdU16String(url), QUrl::StrictMode);
  if (!parsed.isValid() || parsed.scheme() != QLatin1String("https") || parsed.host().isEmpty()) {
    throw HttpError("not an https URL");
  }
  url_ = std::move(parsed);
  state_ = kOpened;
}

void QtHttpClient::Send() {
  if (state_ != kOpened || reply_) {
    throw HttpError("the request is not open");
  }
  QNetworkRequest request(url_);
  QSslConfiguration tls = request.sslConfiguration();
  tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
  if (!caCertificates_.isEmpty()) {
    tls.setCaCertificates(caCertificates_);
  }
  request.setSslConfiguration(tls);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);

  QNetworkReply* reply = manager_.get(request);
  reply_ = reply;
  connections_ = {
      QObject::connect(reply, &QNetworkReply::metaDataChanged, reply,
                       [this] { state_ = std::max(state_, kHeadersReceived); }),
      QObject::connect(reply, &QNetworkReply::readyRead, reply, [this] { OnReadyRead(); }),
      QObject::connect(reply, &QNetworkReply::finished, reply, [this] { OnFinished(); }),
  };
}

int QtHttpClient::ReadyState() {
  return state_;
}

std::vector<std::uint8_t> QtHttpClient::ResponseBody() {
  if (state_ != kComplete) {
    throw HttpError("the request has not completed");
  }
  if (failed_) {
    throw HttpError("the request failed");
  }
  return {body_.cbegin(), body_.cend()};
}

void QtHttpClient::Abort() noexcept {
  if (reply_ && !reply_->isFinished()) {
    failed_ = true;
    reply_->abort();
  }
}

void QtHttpClient::OnReadyRead() {
  if (!reply_ || failed_) {
    return;
  }
  body_ += reply_->readAll();
  state_ = kLoading;
  if (body_.size() > kBodyLimit) {
    failed_ = true;
    body_.clear();
    reply_->abort();
  }
}

void QtHttpClient::OnFinished() {
  if (!reply_) {
    return;
  }
  OnReadyRead();
  const QNetworkReply::NetworkError error = reply_->error();
  const bool statusReceived = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
  if (error != QNetworkReply::NoError && !(statusReceived && IsErrorStatus(error))) {
    failed_ = true;
  }
  if (failed_) {
    body_.clear();
  }
  state_ = kComplete;
}

// A client given authorities of its own no longer loads the system's on demand, so the
// factory hands it both, read once.
QtHttpClientFactory::QtHttpClientFactory(const QList<QSslCertificate>& extraCaCertificates) {
  if (!extraCaCertificates.isEmpty()) {
    caCertificates_ = QSslConfiguration::systemCaCertificates() + extraCaCertificates;
  }
}

std::unique_ptr<HttpClient> QtHttpClientFactory::Create() {
  return std::make_unique<QtHttpClient>(caCertificates_);
}

}  // namespace maskora

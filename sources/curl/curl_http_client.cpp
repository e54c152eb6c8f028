// SPDX-License-Identifier: MIT
#include "sources/curl/curl_http_client.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

#include <curl/curl.h>

#include "core/utf8.h"
#include "core/version.h"

namespace maskora {

namespace {

// How long the request's thread sleeps at most when neither the network nor curl's own timers
// wake it; Abort wakes it at once.
constexpr int kLongestPollMs = 10 * 1000;

// The library is set up once per process, before the first request's thread starts.
class CurlLibrary {
 public:
  static void Use() { static const CurlLibrary library; }

 private:
  CurlLibrary() { curl_global_init(CURL_GLOBAL_DEFAULT); }
  ~CurlLibrary() { curl_global_cleanup(); }
};

// https URLs only; anything else, or text that is no URL, is refused before a request exists.
bool IsHttpsUrl(const std::string& url) {
  if (url.find('\0') != std::string::npos) {
    return false;
  }
  CURLU* parsed = curl_url();
  char* scheme = nullptr;
  char* host = nullptr;
  const bool usable = parsed != nullptr &&
                      curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
                      curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
                      curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
                      std::string_view(scheme) == "https" && host[0] != '\0';
  curl_free(scheme);
  curl_free(host);
  curl_url_cleanup(parsed);
  return usable;
}

}  // namespace

struct CurlHttpClient::Transfer {
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  std::thread worker;
  std::atomic<bool> stop{false};
  std::atomic<int> state{HttpClient::kSent};
  // Written by the worker until it sets state to kComplete, read by the client afterwards.
  std::vector<std::uint8_t> body;
  std::size_t headerBytes = 0;
  bool failed = true;

  Transfer() = default;
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;
  ~Transfer() {
    End();
    if (multi != nullptr && easy != nullptr) {
      curl_multi_remove_handle(multi, easy);
    }
    curl_easy_cleanup(easy);
    curl_multi_cleanup(multi);
  }

  void End() noexcept {
    stop = true;
    if (worker.joinable()) {
      curl_multi_wakeup(multi);
      worker.join();
    }
    state = HttpClient::kComplete;
  }

  // Status lines and header lines, counted over every response, redirects and a proxy's
  // included. A line is handed over only once it is complete, and libcurl refuses a single
  // line longer than CURL_MAX_HTTP_HEADER (100 KiB) by itself.
  static std::size_t OnHeader(char*, std::size_t, std::size_t length, void* context) {
    auto& self = *static_cast<Transfer*>(context);
    self.headerBytes += length;
    self.state = HttpClient::kLoading;
    return self.headerBytes > kHeaderLimit ? 0 : length;
  }

  static std::size_t OnBody(char* data, std::size_t, std::size_t length, void* context) {
    auto& self = *static_cast<Transfer*>(context);
    if (self.body.size() + length > kBodyLimit) {
      return 0;
    }
    self.body.insert(self.body.end(), data, data + length);
    return length;
  }

  void Run() noexcept {
    bool done = false;
    while (!done && !stop) {
      int running = 0;
      int queued = 0;
      if (curl_multi_perform(multi, &running) != CURLM_OK) {
        break;
      }
      if (const CURLMsg* message = curl_multi_info_read(multi, &queued);
          message != nullptr && message->msg == CURLMSG_DONE) {
        failed = message->data.result != CURLE_OK;
        done = true;
      } else if (running == 0 ||
                 curl_multi_poll(multi, nullptr, 0, kLongestPollMs, nullptr) != CURLM_OK) {
        break;
      }
    }
    if (failed) {
      body.clear();
    }
    state = HttpClient::kComplete;
  }
};

CurlHttpClient::CurlHttpClient(std::shared_ptr<const std::string> caBundle)
    : caBundle_(std::move(caBundle)) {
  CurlLibrary::Use();
}

CurlHttpClient::~CurlHttpClient() = default;

void CurlHttpClient::Open(const Text& url) {
  transfer_.reset();
  opened_ = false;
  url_ = TextToUtf8(url);
  if (!IsHttpsUrl(url_)) {
    throw HttpError("not an https URL");
  }
  opened_ = true;
}

void CurlHttpClient::Send() {
  if (!opened_ || transfer_ != nullptr) {
    throw HttpError("the request is not open");
  }
  auto transfer = std::make_unique<Transfer>();
  Transfer& t = *transfer;
  t.easy = curl_easy_init();
  t.multi = curl_multi_init();
  if (t.easy == nullptr || t.multi == nullptr) {
    throw HttpError("libcurl can't make a request");
  }
  curl_blob bundle{};
  if (caBundle_ != nullptr) {
    bundle = {const_cast<char*>(caBundle_->data()), caBundle_->size(), CURL_BLOB_COPY};
  }
  bool set = true;
  const auto option = [&](CURLoption name, auto value) {
    set = set && curl_easy_setopt(t.easy, name, value) == CURLE_OK;
  };
  option(CURLOPT_URL, url_.c_str());
  option(CURLOPT_PROTOCOLS_STR, "https");
  option(CURLOPT_REDIR_PROTOCOLS_STR, "https");
  option(CURLOPT_FOLLOWLOCATION, 1L);
  option(CURLOPT_MAXREDIRS, kMaxRedirects);
  option(CURLOPT_SSL_VERIFYPEER, 1L);
  option(CURLOPT_SSL_VERIFYHOST, 2L);
  option(CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  if (caBundle_ != nullptr) {
    option(CURLOPT_CAINFO_BLOB, &bundle);
  }
  // One small GET: HTTP/1.1 keeps the header bound a plain count of bytes.
  option(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  option(CURLOPT_USERAGENT, kUserAgent);
  option(CURLOPT_TIMEOUT_MS, static_cast<long>(HttpClient::kClientTimeoutMs));
  option(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kBodyLimit));
  option(CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
  option(CURLOPT_HEADERDATA, &t);
  option(CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
  option(CURLOPT_WRITEDATA, &t);
  // Signals are the process's; timeouts work without them on this thread.
  option(CURLOPT_NOSIGNAL, 1L);
  // Ending the request does not wait for a name lookup still under way.
  option(CURLOPT_QUICK_EXIT, 1L);
  if (!set || curl_multi_add_handle(t.multi, t.easy) != CURLM_OK) {
    throw HttpError("libcurl refused the request");
  }
  t.body.reserve(kBodyLimit);
  try {
    t.worker = std::thread([&t] { t.Run(); });
  } catch (const std::system_error&) {
    throw HttpError("no thread for the request");
  }
  transfer_ = std::move(transfer);
}

int CurlHttpClient::ReadyState() {
  if (transfer_ == nullptr) {
    return opened_ ? HttpClient::kOpened : 0;
  }
  return transfer_->state;
}

std::vector<std::uint8_t> CurlHttpClient::ResponseBody() {
  if (transfer_ == nullptr || transfer_->state != HttpClient::kComplete || transfer_->failed) {
    throw HttpError("the request failed or has not completed");
  }
  return transfer_->body;
}

void CurlHttpClient::Abort() noexcept {
  if (transfer_ != nullptr) {
    transfer_->End();
  }
}

CurlHttpClientFactory::CurlHttpClientFactory(const std::string& extraCaPem) {
  if (extraCaPem.empty()) {
    return;
  }
  CurlLibrary::Use();
  std::string bundle;
  CURL* probe = curl_easy_init();
  const char* systemBundle = nullptr;
  if (probe != nullptr && curl_easy_getinfo(probe, CURLINFO_CAINFO, &systemBundle) == CURLE_OK &&
      systemBundle != nullptr) {
    std::ifstream file(systemBundle, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    bundle = text.str();
  }
  curl_easy_cleanup(probe);
  caBundle_ = std::make_shared<const std::string>(bundle + "\n" + extraCaPem);
}

std::unique_ptr<HttpClient> CurlHttpClientFactory::Create() {
  return std::make_unique<CurlHttpClient>(caBundle_);
}

}  // namespace maskora

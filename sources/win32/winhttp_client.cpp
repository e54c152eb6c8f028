// SPDX-License-Identifier: MIT
#include "sources/win32/winhttp_client.h"

#include <array>
#include <cwctype>
#include <utility>

#include <windows.h>
#include <winhttp.h>

#include "core/version.h"
#include "sources/win32/user_proxy.h"
#include "sources/win32/winhttp_functions.h"

namespace maskora {

namespace {

constexpr const wchar_t* kAgent = kWideUserAgent;
constexpr DWORD kTls12 = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
constexpr DWORD kTls13 = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
constexpr DWORD kNotifications = WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS |
                                 WINHTTP_CALLBACK_FLAG_HANDLES | WINHTTP_CALLBACK_FLAG_REDIRECT;

bool IsHttps(const wchar_t* url, DWORD length) {
  constexpr std::wstring_view scheme = L"https://";
  if (url == nullptr || length < scheme.size()) {
    return false;
  }
  for (std::size_t i = 0; i < scheme.size(); ++i) {
    if (std::towlower(url[i]) != scheme[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

class WinHttpClient::Request {
 public:
  Request(const WinHttpFunctions& api, ProxySource proxySource)
      : api_(api), proxySource_(proxySource) {
    InitializeCriticalSection(&lock_);
  }
  ~Request() { DeleteCriticalSection(&lock_); }
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;

  void AddRef() { InterlockedIncrement(&refs_); }
  void Release() {
    if (InterlockedDecrement(&refs_) == 0) {
      delete this;
    }
  }

  class Locked {
   public:
    explicit Locked(Request& r) : r_(r) { EnterCriticalSection(&r_.lock_); }
    ~Locked() { LeaveCriticalSection(&r_.lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

   private:
    Request& r_;
  };

  // Keeps what the request needs; the handles are opened when it is sent, once the proxy is
  // known.
  void Open(std::wstring url, std::wstring host, INTERNET_PORT port, std::wstring path) {
    url_ = std::move(url);
    host_ = std::move(host);
    port_ = port;
    path_ = std::move(path);
    state_ = HttpClient::kOpened;
  }

  void Send() {
    const Locked locked(*this);
    state_ = HttpClient::kSent;
    // The user's proxy as browsers use it: WinHTTP finds it by itself from Windows 8.1 on, and
    // refuses the access type before.
    if (proxySource_ == ProxySource::Automatic) {
      session_ =
          api_.WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
      if (session_ != nullptr) {
        Start();
        return;
      }
    }
    // Finding the proxy may take seconds: on a thread of its own, which holds a reference.
    AddRef();
    HANDLE thread = CreateThread(nullptr, 0, &FindProxyAndStart, this, 0, nullptr);
    if (thread == nullptr) {
      Release();
      Finish(true);
      return;
    }
    CloseHandle(thread);
  }

  int State() {
    const Locked locked(*this);
    return state_;
  }

  bool Body(std::vector<std::uint8_t>& body) {
    const Locked locked(*this);
    if (state_ != HttpClient::kComplete || failed_) {
      return false;
    }
    body = body_;
    return true;
  }

  // Closes the handles outside the lock: WinHTTP may wait for a callback that is waiting for
  // the lock.
  void Close() noexcept {
    std::array<HINTERNET, 3> handles{};
    {
      const Locked locked(*this);
      if (state_ != HttpClient::kComplete) {
        Finish(true);
      }
      closed_ = true;
      handles = {handle_, connection_, session_};
      handle_ = connection_ = session_ = nullptr;
    }
    for (HINTERNET h : handles) {
      if (h != nullptr) {
        api_.WinHttpCloseHandle(h);
      }
    }
  }

 private:
  static DWORD WINAPI FindProxyAndStart(void* context) {
    auto* self = static_cast<Request*>(context);
    const ProxyChoice choice = UserProxyFor(self->api_, self->url_);
    {
      const Locked locked(*self);
      if (!self->closed_ && self->state_ != HttpClient::kComplete) {
        // The proxy goes to the session, where every version of WinHTTP takes it.
        self->session_ =
            choice.direct
                ? self->api_.WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_NO_PROXY,
                                         WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                                         WINHTTP_FLAG_ASYNC)
                : self->api_.WinHttpOpen(
                      kAgent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, choice.proxy.c_str(),
                      choice.bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : choice.bypass.c_str(),
                      WINHTTP_FLAG_ASYNC);
        self->Start();
      }
    }
    self->Release();
    return 0;
  }

  // Opens the connection and the request on the session and sends it; the request fails when
  // WinHTTP refuses any of them.
  void Start() {
    if (!OpenHandles() ||
        api_.WinHttpSendRequest(handle_, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                                0, 0, reinterpret_cast<DWORD_PTR>(this)) == FALSE) {
      Finish(true);
    }
  }

  bool OpenHandles() {
    if (session_ == nullptr) {
      return false;
    }
    // Named, so that Windows 7 offers TLS 1.2, which it has but doesn't offer by default; 1.3
    // where the system has it.
    DWORD protocols = kTls12 | kTls13;
    if (api_.WinHttpSetOption(session_, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                              sizeof(protocols)) == FALSE) {
      protocols = kTls12;
      api_.WinHttpSetOption(session_, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                            sizeof(protocols));
    }
    api_.WinHttpSetTimeouts(session_, HttpClient::kClientTimeoutMs, HttpClient::kClientTimeoutMs,
                            HttpClient::kClientTimeoutMs, HttpClient::kClientTimeoutMs);
    connection_ = api_.WinHttpConnect(session_, host_.c_str(), port_, 0);
    if (connection_ == nullptr) {
      return false;
    }
    handle_ =
        api_.WinHttpOpenRequest(connection_, L"GET", path_.c_str(), nullptr, WINHTTP_NO_REFERER,
                                WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE);
    if (handle_ == nullptr) {
      return false;
    }
    // WinHTTP's own defaults are 64 KiB of headers, 1 MB drained from a redirect's body and
    // ten redirects: set here, so they don't depend on the system's version.
    const std::pair<DWORD, DWORD> options[] = {
        {WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP},
        {WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, kMaxRedirects},
        {WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE, static_cast<DWORD>(kHeaderLimit)},
        {WINHTTP_OPTION_MAX_RESPONSE_DRAIN_SIZE, static_cast<DWORD>(kBodyLimit)},
        // One request per click: no connection is kept for later, nor taken from an earlier one.
        {WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_KEEP_ALIVE},
    };
    for (auto [option, value] : options) {
      api_.WinHttpSetOption(handle_, option, &value, sizeof(value));
    }
    if (api_.WinHttpSetStatusCallback(handle_, &Callback, kNotifications, 0) ==
        WINHTTP_INVALID_STATUS_CALLBACK) {
      return false;
    }
    auto context = reinterpret_cast<DWORD_PTR>(this);
    if (api_.WinHttpSetOption(handle_, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof(context)) ==
        FALSE) {
      return false;
    }
    AddRef();  // the callbacks' reference, given back when the request handle closes
    return true;
  }

  static void CALLBACK Callback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                                DWORD length) {
    auto* self = reinterpret_cast<Request*>(context);
    if (self == nullptr) {
      return;
    }
    if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
      self->Release();
      return;
    }
    const Locked locked(*self);
    self->OnStatus(status, info, length);
  }

  void OnStatus(DWORD status, LPVOID info, DWORD length) {
    if (closed_ || state_ == HttpClient::kComplete) {
      return;
    }
    switch (status) {
      case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
        if (api_.WinHttpReceiveResponse(handle_, nullptr) == FALSE) {
          Finish(true);
        }
        break;
      case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        state_ = HttpClient::kLoading;
        QueryData();
        break;
      case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        Read(*static_cast<const DWORD*>(info));
        break;
      case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        body_.resize(body_.size() - reading_ + length);
        reading_ = 0;
        if (length == 0) {
          Finish(false);
        } else {
          QueryData();
        }
        break;
      case WINHTTP_CALLBACK_STATUS_REDIRECT:
        // Never from https to http, whatever the platform's own policy lets through.
        if (!IsHttps(static_cast<const wchar_t*>(info), length)) {
          Finish(true);
          closed_ = true;
          api_.WinHttpCloseHandle(handle_);
          handle_ = nullptr;
        }
        break;
      case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        Finish(true);
        break;
      default:
        break;
    }
  }

  void QueryData() {
    if (api_.WinHttpQueryDataAvailable(handle_, nullptr) == FALSE) {
      Finish(true);
    }
  }

  // Reads straight into the end of the body, which stays put until the read completes.
  void Read(DWORD available) {
    if (available == 0) {
      Finish(false);
      return;
    }
    if (body_.size() + available > kBodyLimit) {
      Finish(true);
      return;
    }
    const std::size_t end = body_.size();
    body_.resize(end + available);
    reading_ = available;
    if (api_.WinHttpReadData(handle_, body_.data() + end, available, nullptr) == FALSE) {
      Finish(true);
    }
  }

  void Finish(bool failed) {
    state_ = HttpClient::kComplete;
    failed_ = failed;
    if (failed) {
      body_.clear();
      reading_ = 0;
    }
  }

  const WinHttpFunctions& api_;
  ProxySource proxySource_;
  std::wstring url_;
  std::wstring host_;
  INTERNET_PORT port_ = 0;
  std::wstring path_;
  LONG refs_ = 1;
  CRITICAL_SECTION lock_;
  HINTERNET session_ = nullptr;
  HINTERNET connection_ = nullptr;
  HINTERNET handle_ = nullptr;
  std::vector<std::uint8_t> body_;
  std::size_t reading_ = 0;
  int state_ = 0;
  bool failed_ = false;
  bool closed_ = false;
};

WinHttpClient::~WinHttpClient() {
  Release();
}

void WinHttpClient::Release() noexcept {
  if (request_ != nullptr) {
    request_->Close();
    request_->Release();
    request_ = nullptr;
  }
}

void WinHttpClient::Open(const Text& url) {
  Release();
  const WinHttpFunctions* api = WinHttp();
  if (api == nullptr) {
    throw HttpError("winhttp.dll can't be loaded");
  }
  const std::wstring wide(url.begin(), url.end());
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (wide.find(L'\0') != std::wstring::npos ||
      api->WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts) == FALSE ||
      parts.nScheme != INTERNET_SCHEME_HTTPS || parts.dwHostNameLength == 0) {
    throw HttpError("not an https URL");
  }
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  // The query follows the path in the URL: both go into the request line.
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);
  if (path.empty()) {
    path = L"/";
  }
  request_ = new Request(*api, proxySource_);
  request_->Open(wide, host, parts.nPort, path);
}

void WinHttpClient::Send() {
  if (request_ == nullptr || request_->State() != HttpClient::kOpened) {
    throw HttpError("the request is not open");
  }
  request_->Send();
}

int WinHttpClient::ReadyState() {
  return request_ == nullptr ? 0 : request_->State();
}

std::vector<std::uint8_t> WinHttpClient::ResponseBody() {
  std::vector<std::uint8_t> body;
  if (request_ == nullptr || !request_->Body(body)) {
    throw HttpError("the request failed or has not completed");
  }
  return body;
}

void WinHttpClient::Abort() noexcept {
  if (request_ != nullptr) {
    request_->Close();
  }
}

}  // namespace maskora

// SPDX-License-Identifier: MIT
#include "sources/win32/winhttp_client.h"

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
      : api_(api), proxySource_(proxySource) {}
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;

  void AddRef() { InterlockedIncrement(&refs_); }
  void Release() {
    if (InterlockedDecrement(&refs_) == 0) {
      delete this;
    }
  }

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
    {
      const Locked locked(*this);
      state_ = HttpClient::kSent;
    }
    // The user's proxy as browsers use it: WinHTTP finds it by itself from Windows 8.1 on, and
    // refuses the access type before.
    if (proxySource_ == ProxySource::Automatic) {
      HINTERNET session =
          api_.WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
      if (session != nullptr) {
        Start(session);
        return;
      }
    }
    // Finding the proxy may take seconds: on a thread of its own, which holds a reference.
    AddRef();
    HANDLE thread = CreateThread(nullptr, 0, &FindProxyAndStart, this, 0, nullptr);
    if (thread == nullptr) {
      Release();
      const Locked locked(*this);
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
    body.assign(body_.data(), body_.data() + received_);
    return true;
  }

  // Ends the request; its handles are left to the thread that is still starting it, if any.
  void Close() noexcept {
    Handles handles;
    {
      const Locked locked(*this);
      if (state_ != HttpClient::kComplete) {
        Finish(true);
      }
      closed_ = true;
      if (!starting_) {
        handles = std::exchange(handles_, {});
      }
    }
    CloseHandles(api_, handles);
  }

 private:
  struct Handles {
    HINTERNET session = nullptr;
    HINTERNET connection = nullptr;
    HINTERNET request = nullptr;
  };

  // Guards what the window's thread, the proxy thread and WinHTTP's threads share; they run
  // side by side. No WinHTTP call is made and no handle closed while it is held: a close may
  // wait for a callback that waits for the lock. Re-entry does happen, as a call made from a
  // callback may complete at once and call the callback again on the same thread; that finds
  // the lock free, the call having come after releasing it. Hence a plain SRW lock rather than
  // a recursive one: nothing takes it twice, and a call slipped under it would deadlock at
  // once instead of working by chance.
  class Locked {
   public:
    explicit Locked(Request& r) : lock_(r.lock_) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

   private:
    SRWLOCK& lock_;
  };

  static void CloseHandles(const WinHttpFunctions& api, const Handles& handles) {
    for (HINTERNET h : {handles.request, handles.connection, handles.session}) {
      if (h != nullptr) {
        api.WinHttpCloseHandle(h);
      }
    }
  }

  static DWORD WINAPI FindProxyAndStart(void* context) {
    auto* self = static_cast<Request*>(context);
    const ProxyChoice choice = UserProxyFor(self->api_, self->url_);
    // The proxy goes to the session, where every version of WinHTTP takes it.
    self->Start(choice.direct
                    ? self->api_.WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_NO_PROXY,
                                             WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                                             WINHTTP_FLAG_ASYNC)
                    : self->api_.WinHttpOpen(
                          kAgent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, choice.proxy.c_str(),
                          choice.bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : choice.bypass.c_str(),
                          WINHTTP_FLAG_ASYNC));
    self->Release();
    return 0;
  }

  // Opens the connection and the request on the session and sends it; the request fails when
  // WinHTTP refuses any of them. Until it is sent the handles are this thread's alone: a
  // Close() that comes meanwhile leaves them to it, and it closes them here.
  void Start(HINTERNET session) {
    Handles handles{.session = session};
    bool start = false;
    {
      const Locked locked(*this);
      start = starting_ = !closed_;
    }
    const bool sent = start && OpenHandles(handles) &&
                      api_.WinHttpSendRequest(handles.request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                              WINHTTP_NO_REQUEST_DATA, 0, 0,
                                              reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    {
      const Locked locked(*this);
      starting_ = false;
      if (!sent) {
        Finish(true);
      }
      if (!closed_) {
        handles_ = std::exchange(handles, {});
      }
    }
    CloseHandles(api_, handles);
  }

  bool OpenHandles(Handles& h) {
    if (h.session == nullptr) {
      return false;
    }
    // Named, so that Windows 7 offers TLS 1.2, which it has but doesn't offer by default; 1.3
    // where the system has it.
    DWORD protocols = kTls12 | kTls13;
    if (api_.WinHttpSetOption(h.session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                              sizeof(protocols)) == FALSE) {
      protocols = kTls12;
      api_.WinHttpSetOption(h.session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                            sizeof(protocols));
    }
    api_.WinHttpSetTimeouts(h.session, HttpClient::kClientTimeoutMs, HttpClient::kClientTimeoutMs,
                            HttpClient::kClientTimeoutMs, HttpClient::kClientTimeoutMs);
    h.connection = api_.WinHttpConnect(h.session, host_.c_str(), port_, 0);
    if (h.connection == nullptr) {
      return false;
    }
    h.request =
        api_.WinHttpOpenRequest(h.connection, L"GET", path_.c_str(), nullptr, WINHTTP_NO_REFERER,
                                WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE);
    if (h.request == nullptr) {
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
      api_.WinHttpSetOption(h.request, option, &value, sizeof(value));
    }
    if (api_.WinHttpSetStatusCallback(h.request, &Callback, kNotifications, 0) ==
        WINHTTP_INVALID_STATUS_CALLBACK) {
      return false;
    }
    auto context = reinterpret_cast<DWORD_PTR>(this);
    if (api_.WinHttpSetOption(h.request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof(context)) ==
        FALSE) {
      return false;
    }
    AddRef();  // the callbacks' reference, given back when the request handle closes
    return true;
  }

  // Acts on the handle it is given, which WinHTTP keeps open until the callback returns, even
  // when Close() or the starting thread closes it meanwhile.
  static void CALLBACK Callback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info,
                                DWORD length) {
    auto* self = reinterpret_cast<Request*>(context);
    if (self == nullptr) {
      return;
    }
    if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
      self->Release();
      return;
    }
    self->OnStatus(handle, status, info, length);
  }

  // Decides what comes next under the lock, and does it after releasing it.
  void OnStatus(HINTERNET handle, DWORD status, LPVOID info, DWORD length) {
    enum class Next { Nothing, Receive, Query, Read } next = Next::Nothing;
    std::uint8_t* into = nullptr;
    DWORD available = 0;
    HINTERNET closing = nullptr;
    {
      const Locked locked(*this);
      if (closed_ || state_ == HttpClient::kComplete) {
        return;
      }
      switch (status) {
        case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
          next = Next::Receive;
          break;
        case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
          state_ = HttpClient::kLoading;
          next = Next::Query;
          break;
        case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
          available = *static_cast<const DWORD*>(info);
          if (available == 0) {
            Finish(false);
          } else if (received_ + available > kBodyLimit) {
            Finish(true);
          } else {
            // Straight into the body, after what has arrived: the buffer never moves.
            into = body_.data() + received_;
            next = Next::Read;
          }
          break;
        case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
          received_ += length;
          if (length == 0) {
            Finish(false);
          } else {
            next = Next::Query;
          }
          break;
        case WINHTTP_CALLBACK_STATUS_REDIRECT:
          // Never from https to http, whatever the platform's own policy lets through: the
          // request handle closes, here or on the thread that is still starting the request.
          if (!IsHttps(static_cast<const wchar_t*>(info), length)) {
            Finish(true);
            closed_ = true;
            if (!starting_) {
              closing = std::exchange(handles_.request, nullptr);
            }
          }
          break;
        case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
          Finish(true);
          break;
        default:
          break;
      }
    }
    bool called = true;
    switch (next) {
      case Next::Receive:
        called = api_.WinHttpReceiveResponse(handle, nullptr) != FALSE;
        break;
      case Next::Query:
        called = api_.WinHttpQueryDataAvailable(handle, nullptr) != FALSE;
        break;
      case Next::Read:
        called = api_.WinHttpReadData(handle, into, available, nullptr) != FALSE;
        break;
      case Next::Nothing:
        break;
    }
    if (closing != nullptr) {
      api_.WinHttpCloseHandle(closing);
    }
    if (!called) {
      const Locked locked(*this);
      Finish(true);
    }
  }

  void Finish(bool failed) {
    state_ = HttpClient::kComplete;
    failed_ = failed;
  }

  const WinHttpFunctions& api_;
  ProxySource proxySource_;
  std::wstring url_;
  std::wstring host_;
  INTERNET_PORT port_ = 0;
  std::wstring path_;
  LONG refs_ = 1;
  SRWLOCK lock_ = SRWLOCK_INIT;
  Handles handles_;
  bool starting_ = false;
  // Sized to the bound once, so that it never moves under a pending read.
  std::vector<std::uint8_t> body_ = std::vector<std::uint8_t>(kBodyLimit);
  std::size_t received_ = 0;
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

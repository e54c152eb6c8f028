#include "sources/win32/winhttp_client.h"

#include <array>
#include <cwctype>

#include <windows.h>
#include <winhttp.h>

namespace maskora {

namespace {

constexpr int kOpened = 1;
constexpr int kSent = 2;
constexpr int kLoading = 3;
// Longer than the two minutes that the caller waits: its limit is the one that counts.
constexpr int kTimeoutMs = 130 * 1000;
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
  Request() { InitializeCriticalSection(&lock_); }
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

  // Opens the handles; false when WinHTTP refuses any of them.
  bool Open(const std::wstring& host, INTERNET_PORT port, const std::wstring& path) {
    session_ = WinHttpOpen(L"Maskora/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    if (session_ == nullptr) {
      return false;
    }
    WinHttpSetTimeouts(session_, kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs);
    connection_ = WinHttpConnect(session_, host.c_str(), port, 0);
    if (connection_ == nullptr) {
      return false;
    }
    handle_ = WinHttpOpenRequest(connection_, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                 WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE);
    if (handle_ == nullptr) {
      return false;
    }
    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP;
    WinHttpSetOption(handle_, WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof(policy));
    if (WinHttpSetStatusCallback(handle_, &Callback, kNotifications, 0) ==
        WINHTTP_INVALID_STATUS_CALLBACK) {
      return false;
    }
    auto context = reinterpret_cast<DWORD_PTR>(this);
    if (WinHttpSetOption(handle_, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof(context)) ==
        FALSE) {
      return false;
    }
    AddRef();  // the callbacks' reference, given back when the request handle closes
    state_ = kOpened;
    return true;
  }

  void Send() {
    const Locked locked(*this);
    state_ = kSent;
    if (WinHttpSendRequest(handle_, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                           reinterpret_cast<DWORD_PTR>(this)) == FALSE) {
      Finish(true);
    }
  }

  int State() {
    const Locked locked(*this);
    return state_;
  }

  bool Body(std::vector<std::uint8_t>& body) {
    const Locked locked(*this);
    if (state_ != kComplete || failed_) {
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
      if (state_ != kComplete) {
        Finish(true);
      }
      closed_ = true;
      handles = {handle_, connection_, session_};
      handle_ = connection_ = session_ = nullptr;
    }
    for (HINTERNET h : handles) {
      if (h != nullptr) {
        WinHttpCloseHandle(h);
      }
    }
  }

 private:
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
    if (closed_ || state_ == kComplete) {
      return;
    }
    switch (status) {
      case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
        if (WinHttpReceiveResponse(handle_, nullptr) == FALSE) {
          Finish(true);
        }
        break;
      case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        state_ = kLoading;
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
          WinHttpCloseHandle(handle_);
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
    if (WinHttpQueryDataAvailable(handle_, nullptr) == FALSE) {
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
    if (WinHttpReadData(handle_, body_.data() + end, available, nullptr) == FALSE) {
      Finish(true);
    }
  }

  void Finish(bool failed) {
    state_ = kComplete;
    failed_ = failed;
    if (failed) {
      body_.clear();
      reading_ = 0;
    }
  }

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
  const std::wstring wide(url.begin(), url.end());
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (wide.find(L'\0') != std::wstring::npos ||
      WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts) == FALSE ||
      parts.nScheme != INTERNET_SCHEME_HTTPS || parts.dwHostNameLength == 0) {
    throw HttpError("not an https URL");
  }
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  // The query follows the path in the URL: both go into the request line.
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);
  if (path.empty()) {
    path = L"/";
  }
  auto* request = new Request;
  if (!request->Open(host, parts.nPort, path)) {
    request->Close();
    request->Release();
    throw HttpError("WinHTTP refused the request");
  }
  request_ = request;
}

void WinHttpClient::Send() {
  if (request_ == nullptr || request_->State() != kOpened) {
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

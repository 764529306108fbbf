#include "shell/http_get.h"

#include <netdb.h>
#include <fcntl.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

struct TAddress {
  std::string Host, Port = "80", Path = "/";
};

TAddress ParseAddress(const std::string& url) {
  const std::string scheme = "http://";
  if (url.size() <= scheme.size() || strncasecmp(url.c_str(), scheme.c_str(), scheme.size()) != 0)
    throw EHttpError("Not an http address: " + url);
  TAddress a;
  const std::string rest = url.substr(scheme.size());
  const size_t slash = rest.find('/');
  std::string authority = rest.substr(0, slash);
  if (slash != std::string::npos) a.Path = rest.substr(slash);
  if (authority.find('@') != std::string::npos) throw EHttpError("Not an http address: " + url);
  const size_t colon = authority.rfind(':');
  if (colon != std::string::npos && authority.find(']') == std::string::npos) {
    a.Port = authority.substr(colon + 1);
    authority.resize(colon);
  }
  a.Host = authority;
  if (a.Host.empty() || a.Port.empty() || a.Port.find_first_not_of("0123456789") != std::string::npos)
    throw EHttpError("Not an http address: " + url);
  for (char c : a.Path)
    if (static_cast<unsigned char>(c) <= ' ') throw EHttpError("Not an http address: " + url);
  return a;
}

struct TSocket {
  int fd = -1;
  ~TSocket() {
    if (fd >= 0) close(fd);
  }
};

using Clock = std::chrono::steady_clock;

// Milliseconds left until `deadline`; raises when none are.
int Remaining(Clock::time_point deadline, const std::string& host) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (left <= 0) throw EHttpError("No answer from " + host + " in time");
  return static_cast<int>(left);
}

void WaitFor(int fd, short events, Clock::time_point deadline, const std::string& host) {
  pollfd p{fd, events, 0};
  for (;;) {
    const int n = poll(&p, 1, Remaining(deadline, host));
    if (n > 0) return;
    if (n == 0) throw EHttpError("No answer from " + host + " in time");
    if (errno != EINTR) throw EHttpError("Cannot reach " + host + ": " + strerror(errno));
  }
}

int Connect(const TAddress& a, Clock::time_point deadline) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  std::string host = a.Host;
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  if (getaddrinfo(host.c_str(), a.Port.c_str(), &hints, &found) != 0 || !found)
    throw EHttpError("Cannot find the host " + a.Host);
  std::string error = "Cannot reach " + a.Host;
  for (addrinfo* ai = found; ai; ai = ai->ai_next) {
    TSocket s{socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol)};
    if (s.fd < 0) continue;
    fcntl(s.fd, F_SETFL, fcntl(s.fd, F_GETFL) | O_NONBLOCK);
    if (connect(s.fd, ai->ai_addr, ai->ai_addrlen) != 0 && errno != EINPROGRESS) {
      error = "Cannot reach " + a.Host + ": " + strerror(errno);
      continue;
    }
    try {
      WaitFor(s.fd, POLLOUT, deadline, a.Host);
    } catch (...) {
      freeaddrinfo(found);
      throw;
    }
    int soError = 0;
    socklen_t len = sizeof soError;
    getsockopt(s.fd, SOL_SOCKET, SO_ERROR, &soError, &len);
    if (soError != 0) {
      error = "Cannot reach " + a.Host + ": " + strerror(soError);
      continue;
    }
    freeaddrinfo(found);
    const int fd = s.fd;
    s.fd = -1;
    return fd;
  }
  freeaddrinfo(found);
  throw EHttpError(error);
}

// The whole answer's length when its header is complete and names a Content-Length; else -1.
long long AnswerLength(const std::string& answer) {
  const size_t end = answer.find("\r\n\r\n");
  if (end == std::string::npos) return -1;
  for (size_t line = answer.find("\r\n") + 2; line < end;) {
    const size_t next = answer.find("\r\n", line);
    const char* name = "content-length:";
    if (strncasecmp(answer.c_str() + line, name, strlen(name)) == 0)
      return static_cast<long long>(end + 4) + std::atoll(answer.c_str() + line + strlen(name));
    line = next + 2;
  }
  return -1;
}

}  // namespace

THttpResponse HttpGet(const std::string& url, int timeoutMs) {
  const TAddress a = ParseAddress(url);
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  TSocket s{Connect(a, deadline)};
  const std::string request = "GET " + a.Path + " HTTP/1.0\r\nHost: " + a.Host +
                              (a.Port == "80" ? "" : ":" + a.Port) +
                              "\r\nUser-Agent: Quillomark\r\nConnection: close\r\n\r\n";
  for (size_t sent = 0; sent < request.size();) {
    WaitFor(s.fd, POLLOUT, deadline, a.Host);
    const ssize_t n = send(s.fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EINTR) throw EHttpError("Cannot reach " + a.Host + ": " + strerror(errno));
    if (n > 0) sent += static_cast<size_t>(n);
  }
  std::string answer;
  char buffer[16384];
  // Until the server closes, or the body its Content-Length announces is complete.
  long long expected = -1;
  for (;;) {
    if (expected >= 0 && static_cast<long long>(answer.size()) >= expected) break;
    WaitFor(s.fd, POLLIN, deadline, a.Host);
    const ssize_t n = recv(s.fd, buffer, sizeof buffer, 0);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      throw EHttpError("Connection to " + a.Host + " broken: " + strerror(errno));
    }
    answer.append(buffer, static_cast<size_t>(n));
    if (expected < 0) expected = AnswerLength(answer);
  }
  // "HTTP/1.x NNN reason", header lines, an empty line, the body.
  const size_t headerEnd = answer.find("\r\n\r\n");
  if (answer.compare(0, 5, "HTTP/") != 0 || headerEnd == std::string::npos)
    throw EHttpError("No valid answer from " + a.Host);
  if (expected >= 0) {
    if (static_cast<long long>(answer.size()) < expected) throw EHttpError("Incomplete answer from " + a.Host);
    answer.resize(static_cast<size_t>(expected));
  }
  const size_t blank = answer.find(' ');
  THttpResponse r;
  r.Status = blank < headerEnd ? std::atoi(answer.c_str() + blank + 1) : 0;
  if (r.Status < 100 || r.Status > 599) throw EHttpError("No valid answer from " + a.Host);
  r.Body = answer.substr(headerEnd + 4);
  return r;
}

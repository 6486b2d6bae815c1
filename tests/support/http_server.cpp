#include "support/http_server.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace tarnwick::test {

struct HttpServer::Endpoint {
  int status = 200;
  std::string body;
  HeaderList headers;
  Behaviour behaviour = Behaviour::kNormal;
};

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

const char* ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 204:
      return "No Content";
    case 304:
      return "Not Modified";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

bool SendAll(Socket socket, const char* bytes, size_t count, Socket stop) {
  while (count > 0) {
    if (!WaitReady(socket, Readiness::kWritable, stop)) return false;
    const long sent = SendSome(socket, bytes, count);
    if (sent < 0) return false;
    bytes += sent;
    count -= static_cast<size_t>(sent);
  }
  return true;
}

// Reads up to the blank line that ends the next request head of a connection; empty when the
// client or the server quits. `received` keeps what arrived after that head, for the next one.
std::string ReadRequestHead(Socket socket, Socket stop, std::string& received) {
  char buffer[4096];
  std::string::size_type end = received.find("\r\n\r\n");
  while (end == std::string::npos && received.size() < 65536) {
    if (!WaitReady(socket, Readiness::kReadable, stop)) return {};
    const long got = ReceiveSome(socket, buffer, sizeof buffer);
    if (got == -2) continue;
    if (got <= 0) return {};
    received.append(buffer, static_cast<size_t>(got));
    end = received.find("\r\n\r\n");
  }
  std::string head = received.substr(0, end == std::string::npos ? received.size() : end + 4);
  received.erase(0, head.size());
  return head;
}

// The request target as a path: a proxy request names the whole URL, whose scheme and host go.
std::string TargetPath(const std::string& requestLine) {
  std::string::size_type start = requestLine.find(' ');
  std::string::size_type end = requestLine.find(' ', start + 1);
  if (start == std::string::npos || end == std::string::npos) return {};
  std::string target = requestLine.substr(start + 1, end - start - 1);
  std::string::size_type scheme = target.find("://");
  if (target.empty() || target[0] == '/' || scheme == std::string::npos) return target;
  std::string::size_type path = target.find('/', scheme + 3);
  return path == std::string::npos ? "/" : target.substr(path);
}

std::map<std::string, std::string> HeaderFields(const std::string& head) {
  std::map<std::string, std::string> fields;
  std::string::size_type line = head.find("\r\n");
  while (line != std::string::npos) {
    std::string::size_type next = head.find("\r\n", line + 2);
    if (next == std::string::npos || next == line + 2) break;
    std::string field = head.substr(line + 2, next - line - 2);
    std::string::size_type colon = field.find(':');
    if (colon != std::string::npos) {
      std::string::size_type value = field.find_first_not_of(' ', colon + 1);
      fields[Lower(field.substr(0, colon))] = value == std::string::npos ? "" : field.substr(value);
    }
    line = next;
  }
  return fields;
}

// Keeps a connection open without answering until the client gives up or the server stops.
void HoldUntilClosed(Socket socket, Socket stop) {
  char buffer[4096];
  while (WaitReady(socket, Readiness::kReadable, stop)) {
    const long got = ReceiveSome(socket, buffer, sizeof buffer);
    if (got == 0 || got == -1) return;
  }
}

uint32_t Crc32(const std::string& bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> entries{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void AppendLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string GzipStored(const std::string& bytes) {
  std::string out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\xff", 10);
  size_t offset = 0;
  do {
    size_t length = std::min<size_t>(bytes.size() - offset, 65535);
    bool last = offset + length == bytes.size();
    out.push_back(last ? '\x01' : '\x00');  // BFINAL, then BTYPE 00: a stored block
    AppendLittleEndian(out, static_cast<uint32_t>(length), 2);
    AppendLittleEndian(out, static_cast<uint32_t>(~length & 0xFFFF), 2);
    out.append(bytes, offset, length);
    offset += length;
  } while (offset < bytes.size());
  AppendLittleEndian(out, Crc32(bytes), 4);
  AppendLittleEndian(out, static_cast<uint32_t>(bytes.size()), 4);
  return out;
}

HttpServer::HttpServer() {
  MakeSignalPair(stopRead_, stopWrite_);
  listener_ = ListenOnLoopback(port_);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

HttpServer::~HttpServer() {
  const char stop = 's';
  SendSome(stopWrite_, &stop, 1);
  acceptor_.join();
  for (auto& connection : connections_) connection.first.join();
  CloseSocket(listener_);
  CloseSocket(stopRead_);
  CloseSocket(stopWrite_);
}

std::string HttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpServer::AddEndpoint(const std::string& path, int status, std::string body, HeaderList headers,
                             Behaviour behaviour) {
  auto endpoint = std::make_shared<Endpoint>(Endpoint{status, std::move(body), std::move(headers), behaviour});
  std::lock_guard guard(lock_);
  endpoints_[path] = std::move(endpoint);
}

int HttpServer::ConditionalCount(const std::string& path) const {
  std::lock_guard guard(lock_);
  auto found = conditionalHits_.find(path);
  return found == conditionalHits_.end() ? 0 : found->second;
}

int HttpServer::ConnectionCount() const {
  std::lock_guard guard(lock_);
  return connectionCount_;
}

int HttpServer::PeakConcurrency() const {
  std::lock_guard guard(lock_);
  return peakAnswering_;
}

int HttpServer::HitCount(const std::string& path) const {
  std::lock_guard guard(lock_);
  auto found = hits_.find(path);
  return found == hits_.end() ? 0 : found->second;
}

std::string HttpServer::LastRequestHeader(const std::string& path, const std::string& name) const {
  std::lock_guard guard(lock_);
  auto request = lastHeaders_.find(path);
  if (request == lastHeaders_.end()) return {};
  auto field = request->second.find(Lower(name));
  return field == request->second.end() ? std::string() : field->second;
}

void HttpServer::Record(const std::string& path, std::map<std::string, std::string> headers) {
  std::lock_guard guard(lock_);
  ++hits_[path];
  if (headers.count("if-none-match") != 0 || headers.count("if-modified-since") != 0) ++conditionalHits_[path];
  lastHeaders_[path] = std::move(headers);
}

void HttpServer::AcceptLoop() {
  while (WaitReady(listener_, Readiness::kReadable, stopRead_)) {
    const Socket connection = AcceptConnection(listener_);
    if (connection == kNoSocket) continue;
    {
      std::lock_guard guard(lock_);
      ++connectionCount_;
    }
    // Threads of connections already served are joined here, so a long run does not pile them up.
    for (auto it = connections_.begin(); it != connections_.end();) {
      if (it->second->load()) {
        it->first.join();
        it = connections_.erase(it);
      } else {
        ++it;
      }
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    connections_.emplace_back(std::thread([this, connection, done] {
                                Serve(connection);
                                CloseSocket(connection);
                                done->store(true);
                              }),
                              done);
  }
}

void HttpServer::Serve(Socket connection) {
  std::string received;
  while (ServeRequest(connection, received)) {
  }
}

// Answers the next request of a connection; true when the connection stays open for another.
bool HttpServer::ServeRequest(Socket connection, std::string& received) {
  std::string head = ReadRequestHead(connection, stopRead_, received);
  if (head.empty()) return false;
  std::string path = TargetPath(head.substr(0, head.find("\r\n")));
  std::map<std::string, std::string> fields = HeaderFields(head);
  const bool clientCloses = Lower(fields["connection"]) == "close";
  bool acceptsGzip = Lower(fields["accept-encoding"]).find("gzip") != std::string::npos;
  const std::string ifNoneMatch = fields.count("if-none-match") != 0 ? fields["if-none-match"] : std::string("\n");
  const std::string ifModifiedSince =
      fields.count("if-modified-since") != 0 ? fields["if-modified-since"] : std::string("\n");
  const bool loggedIn = fields["authorization"] == kLoginAuthorization;
  Record(path, std::move(fields));
  // Counted from the request's arrival to the end of its answer.
  struct Answering {
    HttpServer& server;
    explicit Answering(HttpServer& s) : server(s) {
      std::lock_guard guard(server.lock_);
      server.peakAnswering_ = std::max(server.peakAnswering_, ++server.answering_);
    }
    ~Answering() {
      std::lock_guard guard(server.lock_);
      --server.answering_;
    }
  } answering(*this);

  std::shared_ptr<const Endpoint> endpoint;
  {
    std::lock_guard guard(lock_);
    auto found = endpoints_.find(path);
    if (found != endpoints_.end()) endpoint = found->second;
  }
  if (!endpoint) endpoint = std::make_shared<Endpoint>(Endpoint{404, "Not Found", {}, Behaviour::kNormal});
  if (endpoint->behaviour == Behaviour::kNeverAnswer) {
    HoldUntilClosed(connection, stopRead_);
    return false;
  }

  if (endpoint->behaviour == Behaviour::kSlow &&
      !WaitReady(stopRead_, Readiness::kReadable, stopRead_, kSlowAnswerMilliseconds)) {
    return false;
  }
  if (endpoint->behaviour == Behaviour::kConditional) {
    for (const auto& [name, value] : endpoint->headers) {
      if ((Lower(name) == "etag" && value == ifNoneMatch) ||
          (Lower(name) == "last-modified" && value == ifModifiedSince))
        endpoint = std::make_shared<Endpoint>(Endpoint{304, "", endpoint->headers, Behaviour::kNormal});
    }
  }
  if (endpoint->behaviour == Behaviour::kLogin) {
    endpoint = loggedIn ? std::make_shared<Endpoint>(Endpoint{endpoint->status, endpoint->body, endpoint->headers,
                                                              Behaviour::kNormal})
                        : std::make_shared<Endpoint>(Endpoint{401, "Log in", {{"WWW-Authenticate", "Basic realm=\"feeds\""}},
                                                              Behaviour::kNormal});
  }
  bool gzip = endpoint->behaviour == Behaviour::kGzip && acceptsGzip;
  std::string encoded = gzip ? GzipStored(endpoint->body) : std::string();
  const std::string& body = gzip ? encoded : endpoint->body;
  std::string response = "HTTP/1.1 " + std::to_string(endpoint->status) + " " + ReasonPhrase(endpoint->status) + "\r\n";
  for (const auto& [name, value] : endpoint->headers) response += name + ": " + value + "\r\n";
  if (gzip) response += "Content-Encoding: gzip\r\n";
  const Behaviour behaviour = endpoint->behaviour;
  const bool keepOpen = !clientCloses && (behaviour == Behaviour::kNormal || behaviour == Behaviour::kGzip ||
                                          behaviour == Behaviour::kConditional || behaviour == Behaviour::kSlow);
  response += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  response += keepOpen ? "\r\n" : "Connection: close\r\n\r\n";
  // A whole answer goes out in one piece: sent as two small pieces on a kept-alive connection,
  // the second would wait for the client's delayed acknowledgement of the first.
  const bool whole = behaviour != Behaviour::kStallBody && behaviour != Behaviour::kCutOff &&
                     behaviour != Behaviour::kDrip && behaviour != Behaviour::kTrickle;
  if (whole) {
    response += body;
    return SendAll(connection, response.data(), response.size(), stopRead_) && keepOpen;
  }
  if (!SendAll(connection, response.data(), response.size(), stopRead_)) return false;

  switch (behaviour) {
    case Behaviour::kStallBody:
      if (SendAll(connection, body.data(), body.size() / 2, stopRead_)) HoldUntilClosed(connection, stopRead_);
      return false;
    case Behaviour::kCutOff:
      SendAll(connection, body.data(), body.size() / 2, stopRead_);
      return false;
    case Behaviour::kDrip:
    case Behaviour::kTrickle: {
      int interval = behaviour == Behaviour::kDrip ? kDripIntervalMilliseconds : kTrickleIntervalMilliseconds;
      for (size_t i = 0; i < body.size(); ++i) {
        if (!SendAll(connection, body.data() + i, 1, stopRead_)) return false;
        if (!WaitReady(stopRead_, Readiness::kReadable, stopRead_, interval)) return false;
      }
      return false;
    }
    default:  // answered whole above
      return false;
  }
}

}  // namespace tarnwick::test

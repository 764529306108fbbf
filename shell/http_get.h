// A small HTTP/1.0 GET over a plain socket, for files the program fetches from its own web
// address (http only, no proxies).
#pragma once

#include <string>

#include "platform/exceptions.h"

class EHttpError : public Exception { using Exception::Exception; };

struct THttpResponse {
  int Status = 0;    // the status code of the answer, e.g. 200 or 404
  std::string Body;  // the bytes after the header
};

// Fetches `url` ("http://host[:port]/path"); raises EHttpError when the address is not such
// an address, the host cannot be reached, or no complete answer arrives within `timeoutMs`.
THttpResponse HttpGet(const std::string& url, int timeoutMs = 8000);

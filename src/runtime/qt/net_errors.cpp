#include "runtime/qt/net_errors.h"

#include <algorithm>
#include <iterator>

namespace runtime {

namespace {

constexpr char kNetPrefix[] = "net::";
constexpr char kErrorPrefix[] = "ERR_";

struct NetError {
  const char* name;  // without the ERR_ prefix
  int code;
};

// The part of Chromium's net error list that a page load can end with.
constexpr NetError kNetErrors[] = {
    {"FAILED", -2},
    {"ABORTED", -3},
    {"INVALID_ARGUMENT", -4},
    {"INVALID_HANDLE", -5},
    {"FILE_NOT_FOUND", -6},
    {"TIMED_OUT", -7},
    {"FILE_TOO_BIG", -8},
    {"UNEXPECTED", -9},
    {"ACCESS_DENIED", -10},
    {"NOT_IMPLEMENTED", -11},
    {"INSUFFICIENT_RESOURCES", -12},
    {"OUT_OF_MEMORY", -13},
    {"UPLOAD_FILE_CHANGED", -14},
    {"SOCKET_NOT_CONNECTED", -15},
    {"FILE_EXISTS", -16},
    {"FILE_PATH_TOO_LONG", -17},
    {"FILE_NO_SPACE", -18},
    {"FILE_VIRUS_INFECTED", -19},
    {"BLOCKED_BY_CLIENT", -20},
    {"NETWORK_CHANGED", -21},
    {"BLOCKED_BY_ADMINISTRATOR", -22},
    {"SOCKET_IS_CONNECTED", -23},
    {"CONTEXT_SHUT_DOWN", -26},
    {"BLOCKED_BY_RESPONSE", -27},
    {"CLEARTEXT_NOT_PERMITTED", -29},
    {"BLOCKED_BY_CSP", -30},
    {"CONNECTION_CLOSED", -100},
    {"CONNECTION_RESET", -101},
    {"CONNECTION_REFUSED", -102},
    {"CONNECTION_ABORTED", -103},
    {"CONNECTION_FAILED", -104},
    {"NAME_NOT_RESOLVED", -105},
    {"INTERNET_DISCONNECTED", -106},
    {"SSL_PROTOCOL_ERROR", -107},
    {"ADDRESS_INVALID", -108},
    {"ADDRESS_UNREACHABLE", -109},
    {"SSL_CLIENT_AUTH_CERT_NEEDED", -110},
    {"TUNNEL_CONNECTION_FAILED", -111},
    {"NO_SSL_VERSIONS_ENABLED", -112},
    {"SSL_VERSION_OR_CIPHER_MISMATCH", -113},
    {"SSL_RENEGOTIATION_REQUESTED", -114},
    {"PROXY_AUTH_UNSUPPORTED", -115},
    {"BAD_SSL_CLIENT_AUTH_CERT", -117},
    {"CONNECTION_TIMED_OUT", -118},
    {"HOST_RESOLVER_QUEUE_TOO_LARGE", -119},
    {"SOCKS_CONNECTION_FAILED", -120},
    {"SOCKS_CONNECTION_HOST_UNREACHABLE", -121},
    {"ALPN_NEGOTIATION_FAILED", -122},
    {"SSL_NO_RENEGOTIATION", -123},
    {"PROXY_AUTH_REQUESTED", -127},
    {"PROXY_CONNECTION_FAILED", -130},
    {"MANDATORY_PROXY_CONFIGURATION_FAILED", -131},
    {"NAME_RESOLUTION_FAILED", -137},
    {"NETWORK_ACCESS_DENIED", -138},
    {"TEMPORARILY_THROTTLED", -139},
    {"ADDRESS_IN_USE", -147},
    {"CERT_COMMON_NAME_INVALID", -200},
    {"CERT_DATE_INVALID", -201},
    {"CERT_AUTHORITY_INVALID", -202},
    {"CERT_CONTAINS_ERRORS", -203},
    {"CERT_NO_REVOCATION_MECHANISM", -204},
    {"CERT_UNABLE_TO_CHECK_REVOCATION", -205},
    {"CERT_REVOKED", -206},
    {"CERT_INVALID", -207},
    {"CERT_WEAK_SIGNATURE_ALGORITHM", -208},
    {"CERT_NON_UNIQUE_NAME", -210},
    {"CERT_WEAK_KEY", -211},
    {"CERT_NAME_CONSTRAINT_VIOLATION", -212},
    {"CERT_VALIDITY_TOO_LONG", -213},
    {"INVALID_URL", -300},
    {"DISALLOWED_URL_SCHEME", -301},
    {"UNKNOWN_URL_SCHEME", -302},
    {"INVALID_REDIRECT", -303},
    {"TOO_MANY_REDIRECTS", -310},
    {"UNSAFE_REDIRECT", -311},
    {"UNSAFE_PORT", -312},
    {"INVALID_RESPONSE", -320},
    {"INVALID_CHUNKED_ENCODING", -321},
    {"METHOD_NOT_SUPPORTED", -322},
    {"UNEXPECTED_PROXY_AUTH", -323},
    {"EMPTY_RESPONSE", -324},
    {"RESPONSE_HEADERS_TOO_BIG", -325},
    {"CONTENT_DECODING_FAILED", -330},
    {"INVALID_AUTH_CREDENTIALS", -338},
    {"CONTENT_LENGTH_MISMATCH", -354},
    {"INCOMPLETE_CHUNKED_ENCODING", -355},
};

QString BareName(QString name) {
  if (name.startsWith(QLatin1String(kNetPrefix))) name.remove(0, sizeof(kNetPrefix) - 1);
  if (name.startsWith(QLatin1String(kErrorPrefix))) name.remove(0, sizeof(kErrorPrefix) - 1);
  return name;
}

}  // namespace

int NetErrorCodeOf(const QString& name) {
  const QString bare = BareName(name);
  const auto found = std::find_if(std::begin(kNetErrors), std::end(kNetErrors),
                                  [&](const NetError& e) { return bare == QLatin1String(e.name); });
  return found == std::end(kNetErrors) ? kNetErrorFailed : found->code;
}

QString NetErrorTextOf(const QString& name) {
  return QLatin1String(kNetPrefix) + QLatin1String(kErrorPrefix) + BareName(name);
}

}  // namespace runtime

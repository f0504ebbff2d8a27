// The yardstick of the fetch benchmark: the plainest libcurl download of a
// URL into one growing buffer. Prints the number of bytes received.
// Usage: curl_yardstick_tool URL
#include <curl/curl.h>

#include <cstdio>
#include <string>

namespace {

std::size_t Append(char* data, std::size_t size, std::size_t count, void* buffer) {
  static_cast<std::string*>(buffer)->append(data, size * count);
  return size * count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s URL\n", argv[0]);
    return 2;
  }
  curl_global_init(CURL_GLOBAL_DEFAULT);
  CURL* curl = curl_easy_init();
  std::string body;
  curl_easy_setopt(curl, CURLOPT_URL, argv[1]);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl, CURLOPT_PROXY, "");  // loopback: never through a proxy of the environment
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  curl_global_cleanup();
  std::printf("%zu\n", body.size());
  return result == CURLE_OK ? 0 : 1;
}

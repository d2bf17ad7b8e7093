// Fuzzes the update check's handling of what comes from outside: the raw HTTP reply, the
// version text it yields, and the update-information URL (taken from the environment).
#include "fuzz_support.h"

#include "net/update_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = fuzz::bytesOf(data, size);

  const QString version = net::parseVersionReply(bytes);
  FUZZ_CHECK(version.size() <= 3);
  const int number = net::versionNumber(version);
  FUZZ_CHECK(number > -100 && number < 1000);
  (void)net::updateOutcome(number);
  (void)net::updateOutcome(net::versionNumber(QString::fromLatin1(bytes)));

  if (const auto target = net::parseHttpUrl(QString::fromUtf8(bytes))) {
    FUZZ_CHECK(!target->host.isEmpty());
    FUZZ_CHECK(target->path.startsWith(QLatin1Char('/')));
    FUZZ_CHECK(target->port >= 1);
  }
  return 0;
}

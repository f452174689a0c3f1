// The TLS engine against an in-memory server: records cut at every byte, a renegotiation
// in the middle of the data, bytes that are no TLS, and the closing message.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include <string>

#include "net/socket_exception.h"
#include "net/tls_session.h"
#include "tls_peers.h"

namespace tessival::net {
namespace {

using ::testing::HasSubstr;
using testing::TestAuthority;
using testing::TestCertificate;

std::span<const std::byte> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::byte*>(text.data()), text.size()};
}

// An OpenSSL server on two memory BIOs; Pump moves bytes both ways, the server's in
// pieces of at most `piece` bytes, until neither side has anything more to say.
class MemoryServer {
 public:
  explicit MemoryServer(int max_version = 0) : context_(SSL_CTX_new(TLS_server_method())) {
    const TestAuthority& authority = TestAuthority::Get();
    SSL_CTX_use_certificate_chain_file(context_, authority.certificate(TestCertificate::kGood).c_str());
    SSL_CTX_use_PrivateKey_file(context_, authority.key(TestCertificate::kGood).c_str(),
                                SSL_FILETYPE_PEM);
    if (max_version != 0) SSL_CTX_set_max_proto_version(context_, max_version);
    ssl_ = SSL_new(context_);
    in_ = BIO_new(BIO_s_mem());
    out_ = BIO_new(BIO_s_mem());
    SSL_set_bio(ssl_, in_, out_);
    SSL_set_accept_state(ssl_);
  }
  ~MemoryServer() {
    SSL_free(ssl_);
    SSL_CTX_free(context_);
  }
  MemoryServer(const MemoryServer&) = delete;
  MemoryServer& operator=(const MemoryServer&) = delete;

  void Pump(TlsSession& client, std::size_t piece = 1 << 20) {
    for (int round = 0; round < 50; ++round) {
      bool moved = false;
      for (const std::byte b : client.TakeCipher()) {
        BIO_write(in_, &b, 1);
        moved = true;
      }
      SSL_do_handshake(ssl_);
      char buffer[4096];
      int n;
      while ((n = SSL_read(ssl_, buffer, sizeof buffer)) > 0)
        received.append(buffer, static_cast<std::size_t>(n));
      while (BIO_ctrl_pending(out_) > 0) {
        char chunk[4096];
        const int count = BIO_read(out_, chunk, static_cast<int>(std::min(piece, sizeof chunk)));
        std::size_t fed = 0;
        while (fed < static_cast<std::size_t>(count)) {
          fed += client.FeedCipher(
              AsBytes(std::string(chunk + fed, static_cast<std::size_t>(count) - fed)));
          ReadAll(client);
        }
        client.Handshake();
        moved = true;
      }
      ReadAll(client);
      if (!moved) return;
    }
  }
  void Send(const std::string& data) { SSL_write(ssl_, data.data(), static_cast<int>(data.size())); }
  void Renegotiate() {
    SSL_renegotiate(ssl_);
    SSL_do_handshake(ssl_);
  }
  void Shutdown() { SSL_shutdown(ssl_); }

  std::string received;   // what the client wrote
  std::string delivered;  // what the client read
  bool closed = false;

 private:
  void ReadAll(TlsSession& client) {
    std::byte buffer[1000];
    for (;;) {
      const TlsRead read = client.Read(buffer);
      if (read.kind == TlsRead::kClosed) closed = true;
      if (read.kind != TlsRead::kData) return;
      delivered.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(read.count));
    }
  }

  SSL_CTX* context_;
  SSL* ssl_;
  BIO* in_;
  BIO* out_;
};

class TlsSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TestAuthority::Get().ok()) GTEST_SKIP() << TestAuthority::Get().error();
    settings_.ca_file = TestAuthority::Get().ca_file();
  }
  TlsSettings settings_;
};

TEST_F(TlsSessionTest, RecordsCutAtEveryByteStillMakeTheSessionAndItsData) {
  const TlsContext context(settings_);
  TlsSession client(context, "localhost", nullptr);
  MemoryServer server;
  server.Pump(client, 1);
  ASSERT_EQ(client.phase(), TlsPhase::kEstablished) << client.error();
  const std::string request = "GET / HTTP/1.0\r\n\r\n";
  ASSERT_TRUE(client.Write(AsBytes(request)));
  std::string answer;
  for (int i = 0; i < 3000; ++i) answer += static_cast<char>('a' + i % 26);
  server.Send(answer);
  server.Pump(client, 1);
  EXPECT_EQ(server.received, request);
  EXPECT_EQ(server.delivered, answer);
}

TEST_F(TlsSessionTest, WritesBeforeTheHandshakeEndsGoOutAfterIt) {
  const TlsContext context(settings_);
  TlsSession client(context, "127.0.0.1", nullptr);
  ASSERT_TRUE(client.Write(AsBytes("early")));
  MemoryServer server;
  server.Pump(client);
  ASSERT_EQ(client.phase(), TlsPhase::kEstablished) << client.error();
  EXPECT_EQ(server.received, "early");
}

// A TLS 1.2 server may ask for a new handshake in the middle of the data.
TEST_F(TlsSessionTest, RenegotiationInTheMiddleOfTheDataKeepsItWhole) {
  const TlsContext context(settings_);
  TlsSession client(context, "localhost", nullptr);
  MemoryServer server(TLS1_2_VERSION);
  server.Pump(client);
  ASSERT_EQ(client.phase(), TlsPhase::kEstablished) << client.error();
  server.Send("before ");
  server.Renegotiate();
  server.Pump(client, 7);
  server.Send("after");
  server.Pump(client, 7);
  ASSERT_TRUE(client.Write(AsBytes("still writing")));
  server.Pump(client);
  EXPECT_EQ(server.delivered, "before after");
  EXPECT_EQ(server.received, "still writing");
  EXPECT_EQ(client.phase(), TlsPhase::kEstablished) << client.error();
}

TEST_F(TlsSessionTest, CloseNotifyEndsTheDataCleanly) {
  const TlsContext context(settings_);
  TlsSession client(context, "localhost", nullptr);
  MemoryServer server;
  server.Pump(client);
  server.Send("last words");
  server.Shutdown();
  server.Pump(client);
  EXPECT_EQ(server.delivered, "last words");
  EXPECT_TRUE(server.closed);
  EXPECT_EQ(client.phase(), TlsPhase::kClosed);
}

TEST_F(TlsSessionTest, BytesThatAreNoTlsFailWithTheLibrarysReason) {
  const TlsContext context(settings_);
  TlsSession client(context, "localhost", nullptr);
  client.TakeCipher();
  client.FeedCipher(AsBytes("HTTP/1.0 400 Bad Request\r\n\r\n"));
  EXPECT_FALSE(client.Handshake());
  EXPECT_EQ(client.phase(), TlsPhase::kFailed);
  EXPECT_THAT(client.error(), HasSubstr("wrong version number"));
  std::byte buffer[16];
  EXPECT_EQ(client.Read(buffer).kind, TlsRead::kFailed);
  EXPECT_FALSE(client.Write(AsBytes("x")));
}

TEST_F(TlsSessionTest, UntrustedServerIsRefusedWithTheCertificatesFault) {
  const TlsContext context(TlsSettings{});  // the system store only: the test authority is unknown
  TlsSession client(context, "localhost", nullptr);
  MemoryServer server;
  server.Pump(client);
  EXPECT_EQ(client.phase(), TlsPhase::kFailed);
  EXPECT_EQ(client.error(), "certificate verify failed: unable to get local issuer certificate");
}

TEST_F(TlsSessionTest, MissingAuthorityFileIsAnError) {
  settings_.ca_file = "/nonexistent/ca.pem";
  EXPECT_THROW(TlsContext{settings_}, ESocketException);
}

}  // namespace
}  // namespace tessival::net

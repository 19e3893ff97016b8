#include "dalport/embedded/PasswordHash.h"

#include <sodium.h>

#include <mutex>
#include <set>
#include <stdexcept>

namespace dalport::embedded {

namespace {

void initialiseSodium()
{
    static const int ok = sodium_init();
    if (ok < 0)
        throw std::runtime_error("libsodium could not be initialised");
}

// Verifying argon2id costs tens of milliseconds and 64 MiB on purpose. A program opens
// several sessions with the same login, so a verified (hash, password) pair is
// remembered for the process as a keyed digest under a random per-process key; the
// password itself is never kept.
class VerifiedLogins {
public:
    VerifiedLogins() { crypto_generichash_keygen(m_key); }

    std::string digest(const std::string& hash, const std::string& password) const
    {
        unsigned char out[crypto_generichash_BYTES];
        crypto_generichash_state st;
        crypto_generichash_init(&st, m_key, sizeof m_key, sizeof out);
        crypto_generichash_update(&st, reinterpret_cast<const unsigned char*>(hash.data()), hash.size() + 1);
        crypto_generichash_update(&st, reinterpret_cast<const unsigned char*>(password.data()), password.size());
        crypto_generichash_final(&st, out, sizeof out);
        return std::string(reinterpret_cast<const char*>(out), sizeof out);
    }

    bool contains(const std::string& d)
    {
        std::lock_guard lock(m_mutex);
        return m_known.count(d) > 0;
    }

    void add(const std::string& d)
    {
        std::lock_guard lock(m_mutex);
        if (m_known.size() > 1024)
            m_known.clear();
        m_known.insert(d);
    }

private:
    unsigned char m_key[crypto_generichash_KEYBYTES];
    std::mutex m_mutex;
    std::set<std::string> m_known;
};

VerifiedLogins& verified()
{
    static VerifiedLogins instance;
    return instance;
}

} // namespace

std::string hashPassword(const std::string& password)
{
    initialiseSodium();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return out;
}

bool verifyPassword(const std::string& hash, const std::string& password)
{
    initialiseSodium();
    auto& cache = verified();
    const std::string d = cache.digest(hash, password);
    if (cache.contains(d))
        return true;
    const bool ok = crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
    if (ok)
        cache.add(d);
    return ok;
}

} // namespace dalport::embedded

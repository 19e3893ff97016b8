#include "dalport/embedded/SecurityParser.h"

#include "dalport/embedded/EngineError.h"

namespace dalport::embedded {

namespace {

using K = SecurityStatement::Kind;

class Parser {
public:
    Parser(const std::vector<Token>& t, std::size_t begin, std::size_t end) : m_t(t), m_i(begin), m_end(end) {}

    std::shared_ptr<Plan> run()
    {
        auto plan = std::make_shared<Plan>();
        plan->kind = Plan::Kind::Security;
        SecurityStatement& s = plan->security;
        if (at("grant") || at("deny") || at("revoke")) {
            s.kind = at("grant") ? K::Grant : at("deny") ? K::Deny : K::Revoke;
            ++m_i;
            permissionStatement(s);
            return plan;
        }
        const bool create = at("create");
        const bool alter = at("alter");
        if (!create && !alter && !at("drop"))
            return nullptr;
        ++m_i;
        if (at("login")) {
            ++m_i;
            s.name = identifier();
            if (create || alter) {
                s.kind = create ? K::CreateLogin : K::AlterLogin;
                expectWord("with");
                loginOptions(s, create);
            } else {
                s.kind = K::DropLogin;
            }
        } else if (at("user")) {
            ++m_i;
            s.name = identifier();
            if (alter)
                syntaxError();
            if (create) {
                s.kind = K::CreateUser;
                if (at("for") || at("from")) {
                    ++m_i;
                    expectWord("login");
                    const std::string login = identifier();
                    if (!equalsIgnoreCase(login, s.name))
                        throw errors::notAValidLogin(login);
                }
                if (at("with")) {
                    ++m_i;
                    expectWord("default_schema");
                    expectSymbol("=");
                    identifier();
                }
            } else {
                s.kind = K::DropUser;
            }
        } else if (at("role")) {
            ++m_i;
            const std::string role = identifier();
            if (create) {
                s.kind = K::CreateRole;
                s.role = role;
                if (at("authorization")) {
                    ++m_i;
                    identifier();
                }
            } else if (alter) {
                // ALTER ROLE r ADD|DROP MEMBER m (SQL Server 2012 and later)
                const bool add = at("add");
                if (!add && !at("drop"))
                    syntaxError();
                ++m_i;
                expectWord("member");
                s.kind = add ? K::AddRoleMember : K::DropRoleMember;
                s.role = role;
                s.name = identifier();
            } else {
                s.kind = K::DropRole;
                s.role = role;
            }
        } else if (at("schema") && !create && !alter) {
            ++m_i;
            s.kind = K::DropSchema;
            s.name = identifier();
        } else {
            return nullptr;
        }
        expectEnd();
        return plan;
    }

private:
    const Token& tok(std::size_t i) const { return i < m_end ? m_t[i] : m_t.back(); }
    bool at(std::string_view word) const { return tok(m_i).isWord(word); }

    [[noreturn]] void syntaxError() const
    {
        if (m_i >= m_end)
            throw errors::syntaxAtEnd();
        const Token& t = m_t[m_i];
        throw errors::syntaxNear(t.kind == Token::Kind::String ? "'" + t.value + "'" : t.value);
    }
    void expectWord(std::string_view w)
    {
        if (!at(w))
            syntaxError();
        ++m_i;
    }
    void expectSymbol(std::string_view s)
    {
        if (!tok(m_i).isSymbol(s))
            syntaxError();
        ++m_i;
    }
    void expectEnd() const
    {
        if (m_i < m_end)
            syntaxError();
    }
    std::string identifier()
    {
        const Token& t = tok(m_i);
        if (t.kind != Token::Kind::Word && t.kind != Token::Kind::Quoted)
            syntaxError();
        ++m_i;
        return t.value;
    }
    std::string text()
    {
        if (tok(m_i).kind != Token::Kind::String)
            syntaxError();
        return tok(m_i++).value;
    }

    // WITH PASSWORD = '...' [OLD_PASSWORD = '...' | MUST_CHANGE], CHECK_POLICY = ON|OFF,
    // ... as SQL Server reads them: OLD_PASSWORD and MUST_CHANGE only right after
    // PASSWORD, without a comma.
    void loginOptions(SecurityStatement& s, bool create)
    {
        for (;;) {
            if (at("password")) {
                ++m_i;
                expectSymbol("=");
                s.password = text();
                if (at("old_password") && !create) {
                    ++m_i;
                    expectSymbol("=");
                    s.oldPassword = text();
                } else if (at("must_change")) {
                    ++m_i;
                    s.mustChange = true;
                }
            } else if (at("check_policy") || at("check_expiration")) {
                const bool policy = at("check_policy");
                ++m_i;
                expectSymbol("=");
                bool on = false;
                if (at("on"))
                    on = true;
                else if (!at("off"))
                    syntaxError();
                ++m_i;
                if (policy)
                    s.checkPolicy = on;
                else
                    s.checkExpiration = on;
            } else if (at("default_database")) {
                ++m_i;
                expectSymbol("=");
                identifier();
            } else {
                syntaxError();
            }
            if (!tok(m_i).isSymbol(","))
                break;
            ++m_i;
        }
        if (create && !s.password)
            syntaxError();
    }

    // One permission: a word or several ("ALTER ANY USER"), ended by ',' ON TO FROM.
    std::string permission()
    {
        std::string p;
        while (tok(m_i).kind == Token::Kind::Word && !at("on") && !at("to") && !at("from")) {
            std::string w = tok(m_i++).value;
            for (char& c : w)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            p += (p.empty() ? "" : " ") + w;
        }
        if (p.empty())
            syntaxError();
        return p;
    }

    // perm[, perm] [ON [OBJECT::|SCHEMA::]name [(col, ...)]] TO|FROM principal[, ...]
    // [WITH GRANT OPTION] [CASCADE]
    void permissionStatement(SecurityStatement& s)
    {
        s.permissions.push_back(permission());
        while (tok(m_i).isSymbol(",")) {
            ++m_i;
            s.permissions.push_back(permission());
        }
        if (at("on")) {
            ++m_i;
            s.securable = SecurityStatement::Securable::Object;
            // "::" reads as two ':' symbols.
            if ((at("object") || at("schema")) && tok(m_i + 1).isSymbol(":") && tok(m_i + 2).isSymbol(":")) {
                s.securable = at("schema") ? SecurityStatement::Securable::Schema : SecurityStatement::Securable::Object;
                m_i += 3;
            }
            s.name = identifier();
            if (s.securable == SecurityStatement::Securable::Object && tok(m_i).isSymbol(".")) {
                if (!equalsIgnoreCase(s.name, "dbo"))
                    throw EngineError{15151, 16, 1, "Cannot find the object '" + s.name
                                                        + "', because it does not exist or you do not have "
                                                          "permission."};
                ++m_i;
                s.name = identifier();
            }
            if (tok(m_i).isSymbol("(")) {
                ++m_i;
                for (;;) {
                    s.columns.push_back(identifier());
                    if (!tok(m_i).isSymbol(","))
                        break;
                    ++m_i;
                }
                expectSymbol(")");
            }
        } else {
            s.securable = SecurityStatement::Securable::Database;
        }
        if (s.kind == K::Revoke && at("from"))
            ++m_i;
        else
            expectWord("to");
        for (;;) {
            s.principals.push_back(identifier());
            if (!tok(m_i).isSymbol(","))
                break;
            ++m_i;
        }
        if (at("with") && s.kind == K::Grant) {
            ++m_i;
            expectWord("grant");
            expectWord("option");
        }
        if (at("cascade") && s.kind != K::Grant)
            ++m_i;
        expectEnd();
    }

    const std::vector<Token>& m_t;
    std::size_t m_i;
    std::size_t m_end;
};

} // namespace

std::shared_ptr<Plan> parseSecurityStatement(const std::vector<Token>& tokens, std::size_t begin, std::size_t end)
{
    return Parser(tokens, begin, end).run();
}

std::shared_ptr<Plan> roleMemberStatement(bool add, const std::string& role, const std::string& member)
{
    auto plan = std::make_shared<Plan>();
    plan->kind = Plan::Kind::Security;
    plan->security.kind = add ? K::AddRoleMember : K::DropRoleMember;
    plan->security.role = role;
    plan->security.name = member;
    return plan;
}

} // namespace dalport::embedded

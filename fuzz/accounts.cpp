// The accounts file as an operator may have edited it.

#include "fuzz/Require.h"
#include "core/AccountsFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), int(size));
    const QList<Account> accounts = AccountsFile::parse(content);
    require(accounts.size() <= content.count('\n') + 1, "more accounts than lines");
    for (int i = 0; i < accounts.size(); ++i) {
        require(!accounts[i].login.contains(' ') && !accounts[i].digest.contains(' '),
                "blank inside a field");
        require(!accounts[i].login.contains('\n'), "line break inside a login");
        for (int j = 0; j < i; ++j)
            require(accounts[j].login != accounts[i].login, "login listed twice");
    }
    return 0;
}

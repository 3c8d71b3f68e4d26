#include "settings/multilanguage.h"

#include <cstddef>
#include <cstdint>

// Reads a language file from arbitrary bytes and looks up every language's texts.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    settings::TMultiLanguage language;
    language.loadData(bytes);
    qsizetype total = 0;
    for (int i = -1; i <= int(language.LanguageNames().size()); ++i) {
        language.setLanguage(i);
        for (const QString& name : language.sectionNames())
            for (const auto& [key, value] : language.section(name))
                total += language.Lookup(key).size() + language.translation(key).size();
    }
    if (total < 0)
        __builtin_trap();
    language.languageForSystemName(QStringLiteral("English (United States)"));
    return 0;
}

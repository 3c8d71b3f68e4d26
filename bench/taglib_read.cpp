// Reference reader for the read benchmark: reads the tags and audio properties of every
// file named on the command line through TagLib and prints one line per file.
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <cstdio>

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        TagLib::FileRef file(argv[i], true, TagLib::AudioProperties::Average);
        if (file.isNull() || !file.tag()) {
            std::printf("%s\terror\n", argv[i]);
            continue;
        }
        const TagLib::Tag* tag = file.tag();
        const int length = file.audioProperties() ? file.audioProperties()->lengthInSeconds() : 0;
        std::printf("%s\t%s\t%s\t%s\t%u\t%d\n", argv[i], tag->title().toCString(true),
                    tag->artist().toCString(true), tag->album().toCString(true), tag->track(), length);
    }
    return 0;
}

#include "conversation.h"

#include "phrase_base.h"

namespace tarmel {

void Conversation::RecordAbuse(const std::string& phrase)
{
    LoadList(files::kAbuseRecord);
    RE2.append(">>> " + phrase);
    SaveList(files::kAbuseRecord);
}

void Conversation::LearnPhrase(const std::string& /*phrase*/, std::size_t /*rawLength*/,
                               bool /*filterHit*/)
{
    // Learning from the user's phrases comes with the full reply selection.
}

} // namespace tarmel

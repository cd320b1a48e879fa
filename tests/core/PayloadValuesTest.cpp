#include "core/MessageNames.h"
#include "core/PayloadValues.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using config::EntryArgument;
using config::EntryForm;

// A letter or name given twice would make the launcher and the generator's
// listing read an entry as something else than what was written.
TEST(PayloadValuesTest, EntryFormsHaveOneLetterAndOneNameEach) {
    for (const std::span<const EntryForm> forms : {std::span<const EntryForm>(config::kClassPathForms),
                                                    std::span<const EntryForm>(config::kSearchForms)}) {
        std::set<char> letters;
        std::set<std::string_view> names;
        for (const EntryForm& form : forms) {
            EXPECT_TRUE(letters.insert(form.letter).second) << form.letter;
            EXPECT_TRUE(names.insert(form.name).second) << form.name;
            EXPECT_NE(form.letter, config::kEntrySeparator);
            EXPECT_EQ(config::findEntryForm(forms, form.letter), &form) << form.letter;
            EXPECT_EQ(config::findEntryForm(forms, form.name), &form) << form.name;
        }
        EXPECT_EQ(config::findEntryForm(forms, 'x'), nullptr);
        EXPECT_EQ(config::findEntryForm(forms, "Directory"), nullptr);
        EXPECT_EQ(config::findEntryForm(forms, ""), nullptr);
    }
}

// The fallback-always directory has no form of its own: a description writes
// it as a directory, so it must not collide with any letter of the table.
TEST(PayloadValuesTest, AlwaysFallbackDirectoryIsADirectoryOutsideTheTable) {
    EXPECT_EQ(config::findEntryForm(config::kSearchForms, config::kSearchDirectoryAlwaysFallback), nullptr);
    for (const EntryForm& form : config::kSearchForms) {
        EXPECT_EQ(config::isSearchDirectory(form.letter), form.argument == EntryArgument::Path) << form.letter;
    }
    EXPECT_TRUE(config::isSearchDirectory(config::kSearchDirectoryAlwaysFallback));
}

TEST(PayloadValuesTest, OnlyTheGuiKindsShowDialogs) {
    struct Case {
        int kind;
        bool dialogs;
    };
    for (const Case& c : {Case{config::kLauncherKindQuiet, false}, Case{config::kLauncherKindGui, true},
                          Case{2, false}, Case{config::kLauncherKindService, false},
                          Case{config::kLauncherKindOtherWithDialogs, true}, Case{-1, false}}) {
        EXPECT_EQ(config::launcherKindShowsDialogs(c.kind), c.dialogs) << c.kind;
    }
}

TEST(MessageNamesTest, EveryMessageIsFoundByItsName) {
    int messages = 0;
    for (const config::KeyInfo& info : config::keyCatalogue()) {
        if (!config::isMessageKey(info.key)) continue;
        ++messages;
        const std::string name = config::messageName(info);
        ASSERT_FALSE(name.empty()) << info.key;
        EXPECT_TRUE(name[0] >= 'a' && name[0] <= 'z') << name;
        EXPECT_EQ(config::findMessageByName(name), &info) << name;
    }
    EXPECT_EQ(messages, config::kLastMessage - config::kFirstMessage + 1);
    EXPECT_EQ(config::messageName(*config::findKey(config::kMessageErrorCaption)), "errorCaption");
}

TEST(MessageNamesTest, OtherNamesAreNotMessages) {
    for (std::string_view name : {"", "e", "ErrorCaption", "errorcaption", "errorCaption ", "messageErrorCaption",
                                  "applicationName", "mainClass", "rrorCaption"}) {
        EXPECT_EQ(config::findMessageByName(name), nullptr) << '"' << name << '"';
    }
}

}  // namespace

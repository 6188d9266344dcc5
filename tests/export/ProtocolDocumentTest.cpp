#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/AppendTextElement.h"
#include "export/ProtocolDocument.h"
#include "tests/export/DocumentInspection.h"

TEST(ProtocolDocument, FreshDocumentIsDeclarationThenEmptyRoot) {
    ProtocolDocument document;
    const pugi::xml_node top = document.document();
    ASSERT_EQ(childNames(top), (std::vector<std::string>{"xml", "root"}));

    const pugi::xml_node declaration = top.first_child();
    EXPECT_EQ(declaration.type(), pugi::node_declaration);
    std::vector<std::pair<std::string, std::string>> attributes;
    for (pugi::xml_attribute a : declaration.attributes())
        attributes.emplace_back(toUtf8(fromPugiText(a.name())), toUtf8(fromPugiText(a.value())));
    EXPECT_EQ(attributes, (std::vector<std::pair<std::string, std::string>>{
                              {"version", "1.0"}, {"encoding", "utf-8"}}));

    EXPECT_EQ(document.root(), top.last_child());
    EXPECT_EQ(document.root().type(), pugi::node_element);
    EXPECT_FALSE(document.root().first_child());
    EXPECT_FALSE(document.root().first_attribute());
    EXPECT_EQ(document.root().parent(), top) << "the host reaches the declaration this way";
}

TEST(AppendTextElement, StoresEveryTextUnchangedUnderOneTextNode) {
    const std::u16string longText(1000, u'ж');
    const std::u16string cases[] = {
        u"",
        u"N2",
        u"<b>Проба & \"баллон\" 'A'</b>",
        u"  пробелы по краям  ",
        u"строка\nвторая\tтаб",
        u"&amp; уже как сущность",
        u"гелий \U0001F388 шарик",
        longText,
    };
    for (const std::u16string& text : cases) {
        ProtocolDocument document;
        const pugi::xml_node element =
            AppendTextElement(document.root(), PUGIXML_TEXT("Sample"), text);
        SCOPED_TRACE(toUtf8(text));
        ASSERT_TRUE(element);
        EXPECT_EQ(element, document.root().last_child());
        EXPECT_EQ(childNames(document.root()), std::vector<std::string>{"Sample"});
        EXPECT_EQ(childNames(element), std::vector<std::string>{"#text"});
        EXPECT_EQ(textOf(element), text);
    }
}

TEST(AppendTextElement, AppendsAtTheEndAndIgnoresAnEmptyParent) {
    ProtocolDocument document;
    AppendTextElement(document.root(), PUGIXML_TEXT("A"), u"1");
    AppendTextElement(document.root(), PUGIXML_TEXT("B"), PUGIXML_TEXT("2"));
    AppendTextElement(document.root(), PUGIXML_TEXT("A"), u"3");
    EXPECT_EQ(childNames(document.root()), (std::vector<std::string>{"A", "B", "A"}));
    EXPECT_EQ(textOf(document.root().last_child()), u"3");

    const pugi::xml_node missing = AppendTextElement(pugi::xml_node(), PUGIXML_TEXT("A"), u"x");
    EXPECT_FALSE(missing);
    EXPECT_EQ(childNames(document.root()).size(), 3u);
}

TEST(PugiText, RoundTripsUtf16IncludingPairs) {
    const std::u16string cases[] = {
        u"",
        u"abc",
        u"Неопределенность",
        u"\U0001F388x\U00010348",
        u"таб\tстрока\nвозврат\r",
        u"\uD7FF\uE000\uFFFD <&>",
    };
    for (const std::u16string& text : cases)
        EXPECT_EQ(fromPugiText(toPugiText(text).c_str()), text) << toUtf8(text);
    if constexpr (sizeof(pugi::char_t) == 4) {
        EXPECT_EQ(toPugiText(u"\U0001F388"), pugi::string_t(1, pugi::char_t(0x1F388)));
    }
    EXPECT_EQ(fromPugiText(nullptr), u"");
}

TEST(PugiText, CharactersXmlCannotCarryBecomeSpacesAndNulEndsTheText) {
    const struct {
        std::u16string text;
        std::u16string stored;
    } cases[] = {
        {u"ба\vл\x1D\x01он\f", u"ба л  он "},
        {std::u16string(u"\x1F\x7F\x80\x85", 4), u" \x7F\x80\x85"},
        {u"\uFFFE\uFFFF\uFFFD", u"  \uFFFD"},
        {std::u16string{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)}, u"a b "},
        {std::u16string{char16_t(0xDC00), char16_t(0xD800)}, u"  "},
        {std::u16string(u"до\0после", 9), u"до"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromPugiText(toPugiText(c.text).c_str()), c.stored) << toUtf8(c.text);
}

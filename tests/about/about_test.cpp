// The About window driven headless: what closes it, the links and their
// highlight, the layout's fixed facts and the picture.
#include <gtest/gtest.h>

#include "about/ab_form.h"
#include "about/about_picture.h"
#include "ui/headless/user.h"

namespace {

using ui::headless::User;

class AboutTest : public testing::Test {
 protected:
    // Shows the window modally; `steps` must leave it closed.
    void run(std::function<void(TAForm&)> steps)
    {
        user.in_modal("AForm", [&](ui::Form&) { steps(about); });
        about.show_modal();
        EXPECT_FALSE(about.visible());
    }

    User user;
    ui::Form main_window{"MForm"};
    TAForm about;
};

TEST_F(AboutTest, LayoutAndTexts)
{
    EXPECT_EQ(about.border_style(), ui::BorderStyle::None);
    EXPECT_EQ(about.client_size().width, 436);
    EXPECT_EQ(about.client_size().height, 135);
    EXPECT_EQ(about.color(), ui::colors::btn_face);
    EXPECT_EQ(about.font().name, "Tahoma");
    EXPECT_EQ(about.font().height_px(), 11);
    EXPECT_EQ(about.Panel1.width(), 153);
    EXPECT_EQ(about.Panel1.bevel_outer(), ui::BevelCut::Lowered);
    EXPECT_EQ(about.Panel2.bevel_outer(), ui::BevelCut::Lowered);
    EXPECT_EQ(about.Panel1.width() + about.Panel2.width(), 436);
    EXPECT_EQ(about.Image1.bounds(), ui::Rect::from_size(10, 8, 131, 116));
    EXPECT_EQ(about.Shape1.height(), 3);
    EXPECT_EQ(about.Shape2.height(), 3);
    struct Text {
        ui::Label& label;
        const char* caption;
        int pixels;
        bool bold, italic;
    };
    const Text texts[] = {
        {about.Label1, "Olvex terminal", 21, true, false},
        {about.Label8, "V1.36", 12, false, true},
        {about.Label3, "9.8.2017 ", 12, false, true},
        {about.Label4, "Author: ", 12, false, false},
        {about.Label6, "Olvex terminal developers", 12, false, false},
        {about.Label5, "E-mail: ", 12, false, false},
        {about.Label7, "olvex-terminal@example.org", 12, false, false},
        {about.Label9, "www: ", 12, false, false},
        {about.Label10, "www.example.org", 11, false, false},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.caption);
        EXPECT_EQ(t.label.caption(), t.caption);
        EXPECT_EQ(t.label.font().name, "Tahoma");
        EXPECT_EQ(t.label.font().height_px(), t.pixels);
        EXPECT_EQ(t.label.font().bold, t.bold);
        EXPECT_EQ(t.label.font().italic, t.italic);
        EXPECT_FALSE(t.label.font().underline);
    }
}

TEST_F(AboutTest, EscapeClosesOtherKeysDoNot)
{
    run([&](TAForm& f) {
        user.type("\r a\t");
        EXPECT_TRUE(f.visible());
        user.type("\x1b");
    });
}

TEST_F(AboutTest, ClicksOutsideTheLinksClose)
{
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &about.Image1, &about.Panel1, &about.Panel2, &about.Label1, &about.Label2, &about.Label3, &about.Label4,
             &about.Label5, &about.Label6, &about.Label8, &about.Label9}) {
        SCOPED_TRACE(c->name());
        run([&](TAForm&) { user.click(*c); });
    }
    EXPECT_TRUE(user.world().shell_opens.empty());
}

TEST_F(AboutTest, LinksOpenThroughTheShellAndKeepTheWindow)
{
    run([&](TAForm& f) {
        user.click(f.Label7);
        EXPECT_TRUE(f.visible());
        user.click(f.Label10);
        EXPECT_TRUE(f.visible());
        user.type("\x1b");
    });
    ASSERT_EQ(user.world().shell_opens.size(), 2u);
    EXPECT_EQ(user.world().shell_opens[0], "mailto:olvex-terminal@example.org");
    EXPECT_EQ(user.world().shell_opens[1], "http://www.example.org/olvex-terminal/");
    EXPECT_EQ(std::string(user.world().shell_opens[1]).rfind("http://www.example.org/", 0), 0u)
        << "the page lies below the address shown";
}

TEST_F(AboutTest, LinksHighlightWhileTheMouseIsOverThem)
{
    run([&](TAForm& f) {
        for (ui::Label* link : {&f.Label7, &f.Label10}) {
            SCOPED_TRACE(link->name());
            const int pixels = link->font().height_px();
            user.hover(*link);
            EXPECT_TRUE(link->font().underline);
            EXPECT_EQ(link->font().color, ui::Color::rgb(0, 0, 221));
            EXPECT_EQ(link->font().color.value(), 0xDD0000u);
            EXPECT_EQ(link->font().height_px(), pixels);
            user.leave(*link);
            EXPECT_FALSE(link->font().underline);
            EXPECT_EQ(link->font().color, ui::colors::window_text);
        }
        user.type("\x1b");
    });
}

TEST(AboutPicture, SizeAndTransparentBackground)
{
    const ui::Bitmap b = about_picture();
    EXPECT_EQ(b.width(), 131);
    EXPECT_EQ(b.height(), 116);
    ASSERT_TRUE(b.transparent());
    EXPECT_EQ(b.pixel(0, 0), b.transparent_color());
    EXPECT_EQ(b.pixel(130, 115), b.transparent_color());
    EXPECT_NE(b.pixel(65, 40), b.transparent_color()) << "the screen is drawn";
}

}  // namespace

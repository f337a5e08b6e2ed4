// The port settings dialog driven headless by the scripted user, over the
// simulated port driver: Refresh, the rate rules, Apply, Cancel, the filters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/port_settings.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "settings/cs_form.h"
#include "settings/int_edit_check.h"
#include "ui/application.h"
#include "ui/headless/user.h"

namespace {

using ui::headless::User;
using Items = std::vector<std::string>;

class CSFormTest : public testing::Test {
 protected:
    void SetUp() override
    {
        for (int n : ports) sim.add_port(n);
        port_settings.settings_loaded = 1;
    }
    void TearDown() override
    {
        EXPECT_EQ(sim.open_handles(), held ? 1 : 0) << "the probe leaves no port open";
        if (held) link.usart().usart_close(&held);
    }

    // Shows the dialog modally and runs `steps` once Refresh has run.
    int run_dialog(std::function<void(TCSForm&)> steps)
    {
        user.in_modal("CSForm", [&](ui::Form&) { steps(dlg); });
        return dlg.show_modal();
    }

    void hold_port(int n) { ASSERT_EQ(link.usart().usart_open(&held, n), 0); }

    static constexpr int ports[] = {1, 3, 4, 7, 32, 33};
    SimPortDriver sim;
    SerialLink link{sim};
    PortSettings port_settings;
    PortHandle held = nullptr;
    User user;
    ui::Form main_window{"MForm"};  // the application's main form, as in the program
    TCSForm dlg{link, port_settings};
};

TEST_F(CSFormTest, RefreshListsTheFreePortsAndShowsTheRecord)
{
    port_settings.port_num = 4;
    port_settings.port_baud = 9600;
    port_settings.port_stop = 20;
    port_settings.port_bit = 5;
    port_settings.port_parity = 3;
    port_settings.port_tx_handshake = 2;
    port_settings.port_rx_handshake = 1;
    port_settings.port_open = 1;
    run_dialog([&](TCSForm& f) {
        EXPECT_EQ(f.CBcomn.items(), (Items{"COM1", "COM3", "COM4", "COM7", "COM32"}));
        EXPECT_EQ(f.CBcomn.text(), "COM4");
        EXPECT_EQ(f.CBbaud.count(), 15);
        EXPECT_EQ(f.CBbaud.items()[0], "110");
        EXPECT_EQ(f.CBbaud.items()[12], "115200");
        EXPECT_EQ(f.CBbaud.items()[13], "Custom 1");
        EXPECT_EQ(f.CBbaud.items()[14], "Custom 2");
        EXPECT_EQ(f.CBbaud.text(), "9600");
        EXPECT_EQ(f.Ecus1baud.text(), "500000");
        EXPECT_EQ(f.Ecus2baud.text(), "1500000");
        EXPECT_EQ(f.Ecus1baud.color(), ui::colors::btn_face);
        EXPECT_EQ(f.Ecus2baud.color(), ui::colors::btn_face);
        EXPECT_EQ(f.CBstop.text(), "2.0");
        EXPECT_EQ(f.CBbits.text(), "5");
        EXPECT_EQ(f.CBparity.text(), "Space");
        EXPECT_EQ(f.CBtxfc.text(), "DSR");
        EXPECT_EQ(f.CBrxfc.text(), "RTS");
        EXPECT_TRUE(f.CBautocon.checked());
        user.click(f.BtnCancel);
    });
}

TEST_F(CSFormTest, APortHeldElsewhereIsNotListedAndOkStoresTheLowestFree)
{
    port_settings.port_num = 3;
    hold_port(3);
    EXPECT_EQ(run_dialog([&](TCSForm& f) {
                  EXPECT_EQ(f.CBcomn.items(), (Items{"COM1", "COM4", "COM7", "COM32"}));
                  EXPECT_EQ(f.CBcomn.item_index(), 0);
                  user.click(f.BtnOk);
              }),
              ui::mr::Ok);
    EXPECT_EQ(port_settings.port_num, 1);
}

TEST_F(CSFormTest, NoFreePortSaysSoAndCancels)
{
    for (int n : ports) sim.vanish(n);
    port_settings.port_num = 5;
    user.answer_message_box(ui::mr::Ok);
    EXPECT_EQ(dlg.show_modal(), ui::mr::Cancel);
    ASSERT_EQ(user.world().message_boxes.size(), 1u);
    const auto& box = user.world().message_boxes[0];
    EXPECT_EQ(box.text, "No free COM port found!");
    EXPECT_EQ(box.caption, "Error ...");
    EXPECT_EQ(box.icon, ui::MsgIcon::Error);
    EXPECT_EQ(port_settings.port_num, 5);
    EXPECT_EQ(dlg.CBcomn.count(), 0);
    EXPECT_FALSE(dlg.visible());
}

struct RateCase {
    const char* name;
    std::int32_t baud, custom1, custom2;
    const char* selected;
    const char* field1;
    const char* field2;
};

TEST_F(CSFormTest, RateSelectionRulesAndColours)
{
    const RateCase cases[] = {
        {"standard", 115200, 500000, 1500000, "115200", "500000", "1500000"},
        {"custom 1", 500000, 500000, 1500000, "Custom 1", "500000", "1500000"},
        {"custom 2", 1500000, 500000, 1500000, "Custom 2", "500000", "1500000"},
        {"neither", 250000, 500000, 1500000, "Custom 1", "250000", "1500000"},
        {"both equal", 700000, 700000, 700000, "Custom 1", "700000", "700000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        port_settings.port_baud = c.baud;
        port_settings.port_baud_custom1 = c.custom1;
        port_settings.port_baud_custom2 = c.custom2;
        run_dialog([&](TCSForm& f) {
            EXPECT_EQ(f.CBbaud.text(), c.selected);
            EXPECT_EQ(f.Ecus1baud.text(), c.field1);
            EXPECT_EQ(f.Ecus2baud.text(), c.field2);
            const bool one = f.CBbaud.item_index() == cs_custom1_item;
            const bool two = f.CBbaud.item_index() == cs_custom2_item;
            EXPECT_EQ(f.Ecus1baud.color(), one ? ui::colors::window : ui::colors::btn_face);
            EXPECT_EQ(f.Ecus2baud.color(), two ? ui::colors::window : ui::colors::btn_face);
            EXPECT_TRUE(f.Ecus1baud.enabled());
            EXPECT_TRUE(f.Ecus2baud.enabled());
            user.click(f.BtnCancel);
        });
    }
}

TEST_F(CSFormTest, UnlistedRateIsStoredAsCustom1OnOkAndKeptOnCancel)
{
    port_settings.port_baud = 250000;
    run_dialog([&](TCSForm& f) { user.click(f.BtnCancel); });
    EXPECT_EQ(port_settings.port_baud_custom1, 500000);
    EXPECT_EQ(port_settings.port_baud, 250000);
    run_dialog([&](TCSForm& f) { user.click(f.BtnOk); });
    EXPECT_EQ(port_settings.port_baud, 250000);
    EXPECT_EQ(port_settings.port_baud_custom1, 250000);
    EXPECT_EQ(port_settings.port_baud_custom2, 1500000);
}

TEST_F(CSFormTest, CustomRatesAreClampedAndWrittenBack)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"0", 1},
        {"5000000", 3000000},
        {"921600", 921600},
        {"007", 7},
    };
    for (const auto& [typed, stored] : cases) {
        SCOPED_TRACE(typed);
        run_dialog([&, typed = typed](TCSForm& f) {
            user.select(f.CBbaud, "Custom 2");
            f.Ecus2baud.set_text("");
            user.type(f.Ecus2baud, typed);
            user.click(f.BtnOk);
            EXPECT_EQ(f.Ecus2baud.text(), std::to_string(stored));
        });
        EXPECT_EQ(port_settings.port_baud, stored);
        EXPECT_EQ(port_settings.port_baud_custom2, stored);
    }
}

TEST_F(CSFormTest, EmptyCustomFieldIsRefusedAndTheDialogStays)
{
    port_settings.port_num = 7;
    run_dialog([&](TCSForm& f) {
        user.select(f.CBbaud, "Custom 1");
        user.select(f.CBcomn, "COM1");
        f.Ecus1baud.set_text("");
        user.answer_message_box(ui::mr::Ok);
        user.click(f.BtnOk);
        EXPECT_TRUE(f.visible());
        EXPECT_EQ(f.modal_result(), ui::mr::None);
        ASSERT_EQ(user.world().message_boxes.size(), 1u);
        EXPECT_EQ(user.world().message_boxes[0].text, "Invalid \"custom 1\" baud rate value!");
        EXPECT_EQ(user.world().message_boxes[0].caption, "Error ...");
        EXPECT_EQ(port_settings.port_num, 7) << "the record is unchanged";
        user.select(f.CBbaud, "Custom 2");
        f.Ecus2baud.set_text("");
        user.answer_message_box(ui::mr::Ok);
        user.click(f.BtnOk);
        EXPECT_EQ(user.world().message_boxes.back().text, "Invalid \"custom 2\" baud rate value!");
        user.click(f.BtnCancel);
    });
    EXPECT_EQ(port_settings.port_num, 7);
}

TEST_F(CSFormTest, TextThatIsNoIntegerReachesTheErrorHandler)
{
    run_dialog([&](TCSForm& f) {
        user.select(f.CBbaud, "Custom 1");
        f.Ecus1baud.set_text("99999999999");  // too long for 32 bits
        user.answer_message_box(ui::mr::Ok);
        user.click(f.BtnOk);
        ASSERT_EQ(user.world().message_boxes.size(), 1u);
        EXPECT_EQ(user.world().message_boxes[0].text, "'99999999999' is not a valid integer value");
        EXPECT_TRUE(f.visible());
        EXPECT_EQ(port_settings.port_baud, 115200);
        user.click(f.BtnCancel);
    });
}

TEST_F(CSFormTest, CustomFieldsTakeOnlyDigitsAndBackspace)
{
    run_dialog([&](TCSForm& f) {
        f.Ecus1baud.set_text("");
        user.type(f.Ecus1baud, "1a2-3 4.5\x16\x03\x18\x01");
        EXPECT_EQ(f.Ecus1baud.text(), "12345");
        user.type(f.Ecus1baud, "\b\b");
        EXPECT_EQ(f.Ecus1baud.text(), "123");
        f.Ecus2baud.set_text("9");
        user.type(f.Ecus2baud, "x8+");
        EXPECT_EQ(f.Ecus2baud.text(), "98");
        user.click(f.BtnCancel);
    });
}

TEST_F(CSFormTest, DoubleClickChoosesTheCustomRate)
{
    run_dialog([&](TCSForm& f) {
        user.dbl_click(f.Ecus2baud);
        EXPECT_EQ(f.CBbaud.text(), "Custom 2");
        EXPECT_EQ(f.Ecus2baud.color(), ui::colors::window);
        EXPECT_EQ(f.Ecus1baud.color(), ui::colors::btn_face);
        user.dbl_click(f.Ecus1baud);
        EXPECT_EQ(f.CBbaud.text(), "Custom 1");
        EXPECT_EQ(f.Ecus1baud.color(), ui::colors::window);
        EXPECT_EQ(f.Ecus2baud.color(), ui::colors::btn_face);
        user.select(f.CBbaud, "57600");
        EXPECT_EQ(f.Ecus1baud.color(), ui::colors::btn_face);
        EXPECT_EQ(f.Ecus2baud.color(), ui::colors::btn_face);
        user.click(f.BtnCancel);
    });
}

TEST_F(CSFormTest, OkStoresEveryChoiceAndKeepsTheOtherFields)
{
    port_settings.port_rxth_size = 64 * 1024;
    port_settings.port_rx_to = 999;
    run_dialog([&](TCSForm& f) {
        user.select(f.CBcomn, "COM32");
        user.select(f.CBbaud, "300");
        user.select(f.CBstop, "1.5");
        user.select(f.CBparity, "Mark");
        user.select(f.CBbits, "7");
        user.select(f.CBtxfc, "CTS");
        user.select(f.CBrxfc, "DTR");
        user.select_tab(f.PageControl1, 1);
        user.click(f.CBautocon);
        f.Ecus2baud.set_text("123");  // not the chosen rate: not read
        user.click(f.BtnOk);
    });
    EXPECT_EQ(port_settings.port_num, 32);
    EXPECT_EQ(port_settings.port_baud, 300);
    EXPECT_EQ(port_settings.port_baud_custom2, 1500000);
    EXPECT_EQ(port_settings.port_stop, 15);
    EXPECT_EQ(port_settings.port_parity, 4);
    EXPECT_EQ(port_settings.port_bit, 7);
    EXPECT_EQ(port_settings.port_tx_handshake, 1);
    EXPECT_EQ(port_settings.port_rx_handshake, 2);
    EXPECT_EQ(port_settings.port_open, 1);
    EXPECT_EQ(port_settings.port_rxth_size, 64 * 1024);
    EXPECT_EQ(port_settings.port_rx_to, 999);
    EXPECT_EQ(port_settings.settings_loaded, 1);

    run_dialog([&](TCSForm& f) {
        EXPECT_EQ(f.Ecus2baud.text(), "1500000") << "Refresh drops unapplied edits";
        EXPECT_EQ(f.PageControl1.active_page_index(), 1) << "the dialog keeps its page";
        user.click(f.CBautocon);
        user.select_tab(f.PageControl1, 0);
        user.select(f.CBparity, "Space");
        user.click(f.BtnOk);
    });
    EXPECT_EQ(port_settings.port_parity, 3);
    EXPECT_EQ(port_settings.port_open, 0);
}

TEST_F(CSFormTest, CancelAndTheCloseBoxLeaveTheRecord)
{
    const PortSettings before = port_settings;
    EXPECT_EQ(run_dialog([&](TCSForm& f) {
                  user.select(f.CBcomn, "COM7");
                  user.select(f.CBparity, "Odd");
                  user.click(f.BtnCancel);
              }),
              ui::mr::Cancel);
    EXPECT_EQ(port_settings.port_num, before.port_num);
    EXPECT_EQ(port_settings.port_parity, before.port_parity);
    EXPECT_EQ(run_dialog([&](TCSForm& f) {
                  user.select(f.CBcomn, "COM7");
                  user.close(f);
              }),
              ui::mr::Cancel);
    EXPECT_EQ(port_settings.port_num, before.port_num);
    EXPECT_EQ(run_dialog([&](TCSForm&) { user.type("\x1b"); }), ui::mr::Cancel);
}

TEST_F(CSFormTest, RefreshAgainSeesThePortsFreeNow)
{
    run_dialog([&](TCSForm& f) {
        EXPECT_EQ(f.CBcomn.count(), 5);
        user.select(f.CBcomn, "COM3");
        hold_port(3);
        user.click(f.BtnBack);
        EXPECT_EQ(f.CBcomn.items(), (Items{"COM1", "COM4", "COM7", "COM32"}));
        EXPECT_EQ(f.CBcomn.text(), "COM1");
        user.click(f.BtnCancel);
    });
}

TEST(IntEditCheck, EmptyLimitedAndBadTexts)
{
    User user;
    ui::Form form("F");
    ui::Edit e(&form, "E");
    EXPECT_EQ(IntEditCheck(e, 1, 8), -1);
    EXPECT_EQ(e.text(), "");
    const std::pair<const char*, std::int32_t> cases[] = {
        {"0", 1}, {"9", 8}, {"-2147483648", 1}, {"5", 5}, {"0x7", 7}, {"+3", 3},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        e.set_text(text);
        EXPECT_EQ(IntEditCheck(e, 1, 8), value);
        EXPECT_EQ(e.text(), std::to_string(value));
    }
    for (const char* bad : {"12x", " ", "2147483648", "1,5"}) {
        SCOPED_TRACE(bad);
        e.set_text(bad);
        try {
            IntEditCheck(e, 1, 8);
            FAIL() << "no error";
        } catch (const IntegerConversionError& err) {
            EXPECT_EQ(std::string(err.what()), "'" + std::string(bad) + "' is not a valid integer value");
        }
        EXPECT_EQ(e.text(), bad);
    }
}

}  // namespace

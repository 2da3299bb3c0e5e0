#pragma once

#include <QString>

namespace oruk::gui {

// The texts that name the product and its maker.
struct Branding {
    static QString ProductTitle() { return QStringLiteral("Sorvan ORUK"); }
    static QString ProductSubtitle() { return QStringLiteral("經絡能量分析系統"); }
    static QString Acronym() { return QStringLiteral("O.R.U.K."); }
    static QString MakerLatin() { return QStringLiteral("Sorvan Enterprise Co., Ltd."); }
    static QString MakerChinese() { return QStringLiteral("素凡事業有限公司"); }
    static QString WebAddress() { return QStringLiteral("https://www.sorvan.com.tw"); }
    static QString Telephone() { return QStringLiteral("+886-2-2700-0000"); }
    static QString Fax() { return QStringLiteral("+886-2-2700-0001"); }
    static QString Email() { return QStringLiteral("service@sorvan.com.tw"); }

    static QString RightsNotice() {
        return QStringLiteral("Copyright © ") + MakerLatin() + QStringLiteral(" All rights reserved.");
    }
    static QString VersionText() { return Acronym() + QStringLiteral(" Kv-50 Version 6.5.0"); }
    static QString WindowCaption() { return ProductTitle() + QStringLiteral(" Kv-50 ") + ProductSubtitle(); }
};

} // namespace oruk::gui

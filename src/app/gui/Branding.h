#pragma once

#include "app/SharedState.h"

#include <QString>

namespace oruk::gui {

// The texts that name the product and its maker.
struct Branding {
    static QString ProductTitle() { return QString::fromUtf8(branding::kProductTitle); }
    static QString ProductSubtitle() { return QString::fromUtf8(branding::kProductSubtitle); }
    static QString Acronym() { return QString::fromUtf8(branding::kProductAcronym); }
    static QString MakerLatin() { return QString::fromUtf8(branding::kMakerLatinName); }
    static QString MakerChinese() { return QString::fromUtf8(branding::kMakerChineseName); }
    static QString WebAddress() { return QString::fromUtf8(branding::kWebAddress); }
    static QString Telephone() { return QString::fromUtf8(branding::kServiceTel); }
    static QString Fax() { return QString::fromUtf8(branding::kFax); }
    static QString Email() { return QString::fromUtf8(branding::kEmail); }

    static QString RightsNotice() {
        return QStringLiteral("Copyright © ") + MakerLatin() + QStringLiteral(" All rights reserved.");
    }
    static QString VersionText() { return Acronym() + QStringLiteral(" Kv-50 Version 6.5.0"); }
    static QString WindowCaption() { return ProductTitle() + QStringLiteral(" Kv-50 ") + ProductSubtitle(); }
};

} // namespace oruk::gui

#include "app/Settings.h"

#include "app/SharedState.h"

namespace oruk {

Settings::Settings() {
    const char* captions[] = {"功能1", "功能2", "功能3", "功能4", "功能5", "功能6"};
    for (int k = 1; k <= 6; ++k)
        UserFuncCaption[k] = captions[k - 1];
    UserFuncHint[1] = "連結素凡全球資訊網";
    UserFuncHint[2] = "啟動影音播放功能";
    UserFuncHint[3] = "文件編輯功能";
    UserFuncProgram[2] = "wmplayer.exe";
    UserFuncProgram[3] = "winword.exe";
    UserFuncParams[1] = branding::kWebAddress;
    for (int k = 1; k <= kMeridianCount; ++k) {
        CustomMeridianOrder[k] = k;
        CustomCoefficient[k] = 1.0;
    }
}

DisplayTables Settings::Tables() const {
    return BuildDisplayTables(MeridianOrderMode, CustomMeridianOrder, CoefficientMode, CustomCoefficient);
}

} // namespace oruk

#include "service/win/InstalledServiceSettings.h"

#include "core/BufferCapacity.h"
#include "core/ConfigKeys.h"
#include "core/ConfigStore.h"
#include "core/win/SystemCalls.h"
#include "service/ServiceSettings.h"

#include <cstdio>

namespace {

void change(SC_HANDLE service, DWORD level, void* setting, const char* what) {
    if (!systemCalls().changeServiceConfig2(service, level, setting))
        std::printf("Could not set the %s. Error code: %d\n", what, static_cast<int>(::GetLastError()));
}

void setDescription(SC_HANDLE service) {
    char16_t description[kBufferCapacity];
    configWideString(config::kServiceDescription, description, kBufferCapacity);
    if (description[0] == u'\0') return;
    SERVICE_DESCRIPTIONW text{reinterpret_cast<wchar_t*>(description)};
    systemCalls().changeServiceConfig2(service, SERVICE_CONFIG_DESCRIPTION, &text);  // a name suffices
}

void setFailureActions(SC_HANDLE service) {
    char text[kBufferCapacity];
    configString(config::kServiceFailureActions, text, sizeof text);
    if (text[0] == '\0') return;
    const std::optional<FailureActions> parsed = parseFailureActions(text);
    if (!parsed) {
        std::printf("Could not set the failure actions: \"%s\" is not a list of actions.\n", text);
        return;
    }
    SC_ACTION actions[kMaxFailureActions];
    for (uint32_t i = 0; i < parsed->count; ++i)
        actions[i] = SC_ACTION{static_cast<SC_ACTION_TYPE>(parsed->actions[i].type), parsed->actions[i].delayMs};
    SERVICE_FAILURE_ACTIONSW setting{parsed->resetSeconds, nullptr, nullptr, parsed->count, actions};
    change(service, SERVICE_CONFIG_FAILURE_ACTIONS, &setting, "failure actions");
}

}  // namespace

void applyInstalledServiceSettings(SC_HANDLE service, DWORD startType) {
    setDescription(service);
    setFailureActions(service);
    if (startType == SERVICE_AUTO_START && configInt(config::kServiceDelayedAutoStart) != 0) {
        SERVICE_DELAYED_AUTO_START_INFO delayed{TRUE};
        change(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO, &delayed, "delayed automatic start");
    }
}

#include "ui_state.h"

Custom_Properties_State& TheCustomPropertiesState() {
    static Custom_Properties_State state;
    return state;
}

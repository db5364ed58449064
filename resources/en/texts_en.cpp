// The English texts of the driver's data tables.
#include "settings/texts.h"

const settings::Texts settings::g_texts = {
    {{{L"Media A"}, {L"Media B"}, {L"Media C"}, {L"Media D"}, {L"Media E"}, {L"Media F"},
      {L"Media G"}, {L""}}},
    {{{L"Media A"}, {L"Media B"}, {L"Media C"}, {L"Media D"}, {L"Media E"}, {L"Media F"},
      {L"Media G"}, {L"Media H"}, {L"Media I"}, {L"Media J"}, {L"Media K"}, {L""}}},
    {{{L"Photo-realistic"}, {L"Vivid"}, {L""}}},
    {{{L"1.5"}, {L"1.8"}, {L"2.2"}, {L""}}},
    {{{L"Standard"}, {L"Thin Paper"}, {L"Thick Paper, Fast"}, {L"Thick Paper, Slow"}, {L""}}},
    {{{L"Auto"}, {L"Wider"}, {L"Wide"}, {L"Standard"}, {L"Narrow"}, {L""}}},
    {{{L"Auto"}, {L"Starwheel-Sheet"}, {L"Starwheel-Roll Curled"}, {L"No Roller-Roll Normal"},
      {L""}}},
    L"The contents of the definition file are incorrect.\nDefaults will be used.",
    L"Custom Properties Error",
};

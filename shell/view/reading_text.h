// The values of an IP reading as the View page lists them beside its plots.
#pragma once

#include "survey_model.h"

#include <QString>

QString readingValuesText(const survey::IpReading &reading);

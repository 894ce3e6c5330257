#pragma once
// Resource identifiers shared by the resource script and the program.

#define IDI_ABRIRCAJON 1
#define IDI_ICONO_A 101
#define IDI_ICONO_B 102
#define IDR_INFOCAJON 201

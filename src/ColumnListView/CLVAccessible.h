// SPDX-License-Identifier: GPL-3.0-or-later
// How a ColumnListView presents itself to screen readers and automation tools: as a table whose
// rows are the list's rows and whose columns are its shown columns, left to right, with the
// column labels as headers and each cell's text; rows can be selected through it.
#pragma once

class ColumnListView;

// Makes Qt's accessibility find the table interface of every ColumnListView; safe to call more
// than once.
void InstallColumnListAccessibility();

// Tells assistive tools that the list's rows were added, removed or reordered.
void NotifyAccessibleRowsChanged(ColumnListView* list);
// Tells assistive tools that the list's selection changed.
void NotifyAccessibleSelectionChanged(ColumnListView* list);

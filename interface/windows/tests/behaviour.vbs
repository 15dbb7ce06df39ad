' Behaviour of ClassBrige as workbook code sees it, called late bound by the Cyrillic method
' names: letter case, defaults of omitted optionals, by-reference write-back into script
' variables, run-time errors, a Range stand-in, report files.
' Runs after lib.vbs (the driver joins the two files; Wine's VBScript has no ExecuteGlobal):
'   cscript //nologo behaviour-run.vbs <folder for report files>

Dim fso
Set fso = CreateObject("Scripting.FileSystemObject")

Dim folder
folder = WScript.Arguments(0)
If Not fso.FolderExists(folder) Then fso.CreateFolder folder

Dim o
Set o = CreateObject("KelvorVBA.ClassBrige")
Check IsObject(o), "CreateObject(KelvorVBA.ClassBrige)", "no object"

On Error Resume Next

' Same method in any letter case.
Dim a, b, c
a = o.мтБетонB(25)
b = o.МТБЕТОНB(25)
c = o.мтбетонb(25)
Check Err.Number = 0 And a = b And b = c And a = 13, "method names in any letter case", _
    Err.Number & " " & a & " " & b & " " & c
Err.Clear

' Defaults of omitted optionals, as the interface records them.
Check o.мтБетонB(25) = o.мтБетонB(25, 1), "mtBeton: Parametr defaults to 1", ""
Check o.СНиП_RsB(3) = o.СНиП_RsB(3, 10, 3), "SNiP_Rs: diameter 10, value type 3 by default", ""
Check o.СНиП_RsB(2, , 1) = o.СНиП_RsB(2, 10, 1), "an optional omitted in the middle", ""
Check o.гоБетонB(25) = o.гоБетонB(25, 1, False, False, False, False, False, 1, 0), _
    "goBeton: defaults", ""
Check o.гоАрматураB(3) = o.гоАрматураB(3, 1, False, False), "goArmatura: defaults", ""
Check Err.Number = 0, "defaults: no error", Err.Number & " " & Err.Description
Err.Clear

Dim omitted, explicit
omitted = o.мтПрочностьB(3, 25, 0.5, 0.2, 10, 20, 0.05, 0.05, 1)
If Err.Number = E_NOTIMPL_NUMBER Then
  Skip "mtProchnost defaults", "not built"
Else
  explicit = o.мтПрочностьB(3, 25, 0.5, 0.2, 10, 20, 0.05, 0.05, 1, 1, False, False, False, _
      False, False, False, False, 0, 0, -1, -1, 12, -1, -1, -1, -1, -1, 3, "")
  Check Err.Number = 0 And omitted = explicit, "mtProchnost: defaults", _
      Err.Number & " " & omitted & " " & explicit
End If
Err.Clear

omitted = o.мтНапряжениеB(3, 25, 0.5, 0.2, 10, 20, 0.05, 0.05, 1)
If Err.Number = E_NOTIMPL_NUMBER Then
  Skip "mtNapryazhenie defaults", "not built"
Else
  explicit = o.мтНапряжениеB(3, 25, 0.5, 0.2, 10, 20, 0.05, 0.05, 1, 1, 0, False, 2, True, 0.0001)
  Check Err.Number = 0 And omitted = explicit, "mtNapryazhenie: defaults (True, 0.0001, 2)", _
      Err.Number & " " & omitted & " " & explicit
End If
Err.Clear

' By-reference write-back into script variables.
Dim N, M, r
N = 0
M = 0.2
r = o.мтПрочностьB(3, 25, N, M, 10, 20, 0.05, 0.05, 1)
If Err.Number = E_NOTIMPL_NUMBER Then
  Skip "N becomes -1e-20", "mtProchnost not built"
Else
  Check Err.Number = 0 And N = -1E-20 And VarType(N) = vbDouble, "N = 0 becomes -1e-20", _
      Err.Number & " " & Enc(N)
  Check M = 0.2, "an unchanged variable keeps its value", Enc(M)
End If
Err.Clear

Dim Sb, Ss, Ssi
r = o.мтНапряжениеB(3, 25, 0.5, 0.2, 10, 20, 0.05, 0.05, 1, , , , , , , Sb, Ss, Ssi)
If Err.Number = E_NOTIMPL_NUMBER Then
  Skip "outputs Sb, Ss, Ssi", "mtNapryazhenie not built"
Else
  Check Err.Number = 0 And VarType(Sb) = vbDouble And VarType(Ss) = vbDouble And _
      VarType(Ssi) = vbDouble, "outputs Sb, Ss, Ssi reach the script's variables", _
      Err.Number & " " & Enc(Sb) & " " & Enc(Ss) & " " & Enc(Ssi)
End If
Err.Clear

Dim Cmax
Cmax = Empty
r = o.мтХомутыB(1, 25, 0.3, 1, 0.9, 0.15, 0.2, 10, , , , , , , , , Cmax)
If Err.Number = E_NOTIMPL_NUMBER Then
  Skip "output C_max", "mtKhomuty not built"
Else
  Check Err.Number = 0 And VarType(Cmax) = vbDouble, "output C_max reaches the script", _
      Err.Number & " " & Enc(Cmax)
End If
Err.Clear

' A division by zero: run-time error 11 and no report file.
Dim report
report = fso.BuildPath(folder, "деление на ноль.txt")
If fso.FileExists(report) Then fso.DeleteFile report
r = Empty
r = o.мтПрочностьB(3, 25, 0.5, 0.2, 10, 20, 0.05, 0.05, 1, 0, , , , , , , , , , , , , , , , , , , report)
If Err.Number = E_NOTIMPL_NUMBER Then
  Skip "division by zero", "mtProchnost not built"
Else
  Check Err.Number = 11, "Err.Number 11 for a division by zero (B = 0)", Err.Number
  Check Err.Description = "Division by zero", "Err.Description 'Division by zero'", _
      HexText(Err.Description)
  Check IsEmpty(r), "no result after the error", Enc(r)
  Check Not fso.FileExists(report), "a failed call writes no report", report
End If
Err.Clear

' Type mismatch and the user's decimal comma in texts.
r = o.мтБетонB("abc")
Check Err.Number = 13, "a text that is no number: Err.Number 13", Err.Number
Err.Clear
Check o.мтБетонB("27,5") = o.мтБетонB(27.5), "a text number with the decimal comma", Err.Number
Err.Clear

' A report written with the user's separator to a Cyrillic path.
report = fso.BuildPath(folder, "Отчёт о прочности.txt")
If fso.FileExists(report) Then fso.DeleteFile report
r = o.мтПрочностьB(3, 25, 0.5, 0.2, 10, 20, 0.05, 0.05, 1, , , , , , , , , , , , , , , , , , , , report)
If Err.Number = E_NOTIMPL_NUMBER Then
  Skip "report file", "mtProchnost not built"
Else
  Dim text
  text = ReadAnsiFile(report)
  Check Err.Number = 0 And Len(text) > 0, "the report file is written to a Cyrillic path", Err.Number
  Check InStr(text, ": 0,2 ") > 0 And InStr(text, ": 0.2 ") = 0, _
      "the report writes numbers with the decimal comma", HexText(Left(text, 80))
  Check InStr(text, "Класс бетона: B25") > 0, "the report holds the input data", ""
End If
Err.Clear

' A bar table read from a Range stand-in (a VBScript class).
Dim table, plain, viaCells, viaValues
Set table = MakeRange(Array(Array(1, 0.45, 20), Array(2, 0.45, 20), Array(3, 0.45, 20), _
    Array(4, -0.45, 25), Array(5, -0.45, 25), Array(6, -0.45, 25)))
viaCells = o.мтПрочностьТB(3, 25, 0.5, 0.2, 1, 1, table)
If Err.Number = E_NOTIMPL_NUMBER Then
  Skip "bar table from a Range stand-in", "mtProchnostT not built"
Else
  Check Err.Number = 0 And table.Calls > 0, "a bar table is read from the Range stand-in", _
      Err.Number & " " & Err.Description & " calls=" & table.Calls
  Check IsObject(table), "the caller keeps its Range", ""
  table.AsCells = False
  viaValues = o.мтПрочностьТB(3, 25, 0.5, 0.2, 1, 1, table)
  Check Err.Number = 0 And viaValues = viaCells, _
      "cells as objects or as values give the same result", Enc(viaCells) & " " & Enc(viaValues)
End If
Err.Clear

' Number in words from a one-cell Range.
Dim cell, words
Set cell = MakeRange(Array(Array(1234.5)))
Set plain = cell
words = o.ЧислоПрописьюB(cell)
If Err.Number = E_NOTIMPL_NUMBER Then
  Skip "ChisloPropisyu", "not built"
Else
  Check Err.Number = 0 And words = "Одна тысяча двести тридцать четыре руб.  50 копеек.", _
      "ChisloPropisyu of 1234.5", HexText(words)
  Check IsObject(cell), "rCells is still a Range after the call", ""
  If IsObject(cell) Then Check cell Is plain, "rCells refers to the same cells", ""
  words = o.ЧислоПрописьюB(MakeRange(Array(Array(1, 2), Array(3, 4))))
  Check words = "Ссылка не содержит числового значения !", "ChisloPropisyu of several cells", _
      HexText(words)
End If
Err.Clear
WScript.Echo "END"

' Shared helpers of the Armocalc automation tests (included with ExecuteGlobal).
' Every check prints one ASCII line, "PASS <name>", "FAIL <name>: <detail>" or
' "SKIP <name>: <reason>", which the test driver counts.

Const E_NOTIMPL_NUMBER = -2147467263

Sub Check(ok, name, detail)
  If ok Then
    WScript.Echo "PASS " & name
  Else
    WScript.Echo "FAIL " & name & ": " & detail
  End If
End Sub

Sub Skip(name, reason)
  WScript.Echo "SKIP " & name & ": " & reason
End Sub

' The exact binary value of a double: "n" when negative, the exponent, then the 53-bit
' significand in two halves of 27 and 26 bits (all integers, so their text needs no decimal
' separator).
Function Bits(ByVal x)
  Dim sign, e, m, hi, lo, i
  If x = 0 Then
    Bits = "0"
    Exit Function
  End If
  sign = ""
  If x < 0 Then
    sign = "n"
    x = -x
  End If
  e = Int(Log(x) / Log(2))
  For i = 1 To 4
    If x / (2 ^ e) >= 2 Then e = e + 1
    If x / (2 ^ e) < 1 Then e = e - 1
  Next
  m = (x / (2 ^ e)) * (2 ^ 52)
  hi = Int(m / (2 ^ 26))
  lo = m - hi * (2 ^ 26)
  Bits = sign & e & ":" & hi & ":" & lo
End Function

' A text as the hexadecimal codes of its characters in the ANSI code page (1251): the console
' does not show Cyrillic, and Wine's VBScript has no AscW.
Function HexText(s)
  Dim i, out
  out = ""
  For i = 1 To Len(s)
    out = out & Right("0" & Hex(Asc(Mid(s, i, 1))), 2)
  Next
  HexText = out
End Function

' A value with its kind: E(mpty), N(ull), I(nteger), D(ouble bits), B(oolean), S(tring), O(bject).
Function Enc(v)
  Select Case VarType(v)
    Case 0
      Enc = "E"
    Case 1
      Enc = "N"
    Case 2, 3, 17
      Enc = "I" & CStr(v)
    Case 4, 5
      Enc = "D" & Bits(CDbl(v))
    Case 11
      Enc = "B" & CStr(CInt(v))
    Case 8
      Enc = "S" & HexText(v)
    Case 9
      Enc = "O"
    Case Else
      Enc = "T" & VarType(v)
  End Select
End Function

Class FakeCount
  Public Count
End Class

' One worksheet cell as Excel hands it out: its default member is its value.
Class FakeCell
  Private content
  Public Sub Init(v)
    content = v
  End Sub
  Public Default Property Get Value()
    Value = content
  End Property
End Class

' A stand-in for an Excel Range over rows of values (an array of arrays): Rows and Columns with
' Count, the default member Item(row, column) and Value. Cells beyond it are empty, as on a
' worksheet. With AsCells the default member answers cell objects, as Excel does.
Class FakeRange
  Public Rows
  Public Columns
  Public Calls
  Public AsCells
  Private data
  Private nRows
  Private nColumns

  Public Sub Init(values)
    data = values
    nRows = UBound(values) + 1
    nColumns = UBound(values(0)) + 1
    Set Rows = New FakeCount
    Rows.Count = nRows
    Set Columns = New FakeCount
    Columns.Count = nColumns
    Calls = 0
    AsCells = True
  End Sub

  Private Function At(r, c)
    At = Empty
    If r >= 1 And r <= nRows And c >= 1 And c <= nColumns Then
      If c - 1 <= UBound(data(r - 1)) Then At = data(r - 1)(c - 1)
    End If
  End Function

  Public Default Function Item(r, c)
    Calls = Calls + 1
    If AsCells Then
      Dim cell
      Set cell = New FakeCell
      cell.Init At(r, c)
      Set Item = cell
    Else
      Item = At(r, c)
    End If
  End Function

  Public Property Get Value()
    Dim r, c, block
    If nRows = 1 And nColumns = 1 Then
      Value = At(1, 1)
    Else
      ReDim block(nRows - 1, nColumns - 1)
      For r = 1 To nRows
        For c = 1 To nColumns
          block(r - 1, c - 1) = At(r, c)
        Next
      Next
      Value = block
    End If
  End Property
End Class

Function MakeRange(values)
  Dim range
  Set range = New FakeRange
  range.Init values
  Set MakeRange = range
End Function

Function ReadAnsiFile(path)
  Dim fso, stream
  Set fso = CreateObject("Scripting.FileSystemObject")
  ReadAnsiFile = ""
  If fso.FileExists(path) Then
    Set stream = fso.OpenTextFile(path, 1, False, 0)
    If Not stream.AtEndOfStream Then ReadAnsiFile = stream.ReadAll
    stream.Close
  End If
End Function

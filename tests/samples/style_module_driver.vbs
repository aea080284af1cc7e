
' ---- Test driver, appended to the StyleLinii sample module turned into VBScript ----
' Written in UTF-8; vba_module_test.sh converts it to Windows-1250, the code
' page of the module it follows, before appending it.
'   cscript //nologo SCRIPT restyle|export-import WORKDIR
'   restyle        NadajStyleZArkusza over a stand-in sheet "Style linii":
'                  the rows it can apply land, the others get their error
'   export-import  ZapiszStylePakietu, a change, PrzywrocStylePakietu: the
'                  package is as exported; a broken file writes nothing
' Prints STYLE-MODULE-OK and the scenario when every check held.

Dim shownCount, shownText
shownCount = 0

Function MsgBox(prompt, buttons, title)
  shownCount = shownCount + 1
  shownText = prompt
  MsgBox = vbOK
End Function

' Excel's cells, sheet and workbook, as far as the module uses them.
Class CellStandIn
  Public Value
End Class

Class SheetStandIn
  Private cells_
  Private Sub Class_Initialize()
    Set cells_ = CreateObject("Scripting.Dictionary")
  End Sub
  Public Function Cells(row, column)
    Dim key, cell
    key = row & ":" & column
    If Not cells_.Exists(key) Then
      Set cell = New CellStandIn
      cell.Value = ""
      cells_.Add key, cell
    End If
    Set Cells = cells_(key)
  End Function
  Public Sub Row(number, a, b, c, d, e)
    Cells(number, 1).Value = a
    Cells(number, 2).Value = b
    Cells(number, 3).Value = c
    Cells(number, 4).Value = d
    Cells(number, 5).Value = e
  End Sub
End Class

Class WorkbookStandIn
  Public Sheet
  Public Function Worksheets(name)
    If name <> "Style linii" Then Err.Raise 9
    Set Worksheets = Sheet
  End Function
End Class

Dim ThisWorkbook
Set ThisWorkbook = New WorkbookStandIn
Set ThisWorkbook.Sheet = New SheetStandIn

Dim failures, scenario, workDir, check
failures = 0
Set check = CreateObject("Atrybuty.LineStyles")

Sub Fail(message)
  failures = failures + 1
  WScript.Echo "FAIL: " & message
End Sub

Sub ExpectStyle(layer, thickness, style, colour)
  Dim s
  Set s = check.Layer("Polska", layer).LineStyle
  If s.Thickness <> thickness Or s.Style <> style Or s.Color <> colour Then
    Fail layer & ": thickness " & s.Thickness & ", style " & s.Style & ", colour " & s.Color & _
         "; expected " & thickness & ", " & style & ", " & colour
  End If
End Sub

If WScript.Arguments.Count <> 2 Then
  WScript.Echo "usage: SCRIPT restyle|export-import WORKDIR"
  WScript.Quit 2
End If
scenario = WScript.Arguments(0)
workDir = WScript.Arguments(1)

Dim sheet, report, text
Select Case scenario
  Case "restyle"
    Set sheet = ThisWorkbook.Sheet
    sheet.Row 2, "Polska", "Granice województw", "6", "", "#123456"
    sheet.Row 3, "Polska", "Rzeki", "8", "", ""
    sheet.Row 4, "Polska", "Nie ma takiej", "1", "", ""
    sheet.Row 5, "Polska", "Drogi krajowe", "", "44", ""
    NadajStyleZArkusza
    If shownCount <> 0 Then Fail "no message box: " & shownText
    If sheet.Cells(2, 6).Value <> "OK" Then Fail "row 2: " & sheet.Cells(2, 6).Value
    If InStr(sheet.Cells(3, 6).Value, "Błąd -2147220968:") <> 1 Then Fail "row 3 (thickness 8): " & sheet.Cells(3, 6).Value
    If InStr(sheet.Cells(4, 6).Value, "Błąd -2147220975:") <> 1 Then Fail "row 4 (no such layer): " & sheet.Cells(4, 6).Value
    If sheet.Cells(5, 6).Value <> "OK" Then Fail "row 5: " & sheet.Cells(5, 6).Value
    ExpectStyle "Granice województw", 6, 30, RGB(&H12, &H34, &H56)
    ExpectStyle "Rzeki", 2, 7, RGB(0, &H40, &HC0)
    ExpectStyle "Drogi krajowe", 3, 44, RGB(&HFF, &H80, 0)

  Case "export-import"
    ZapiszStylePakietu "Polska", workDir & "\style.txt"
    If shownCount <> 0 Then Fail "no message box: " & shownText
    check.Layer("Polska", "Granice województw").SetLineStyle 2, 3
    report = PrzywrocStylePakietu(workDir & "\style.txt")
    If InStr(report, "Granice województw: zmieniona") = 0 Then Fail "the report names the restored layer: " & report
    If InStr(report, "Rzeki: bez zmian") = 0 Then Fail "the report names a layer left alone: " & report
    ExpectStyle "Granice województw", 5, 30, RGB(&H80, 0, &H80)
    text = "Atrybuty: style linii, wersja 1" & vbCrLf & "zepsuty" & vbCrLf
    CreateObject("Scripting.FileSystemObject").CreateTextFile(workDir & "\zly.txt", True).Write text
    check.Layer("Polska", "Granice województw").SetLineStyle 4
    report = PrzywrocStylePakietu(workDir & "\zly.txt")
    If InStr(report, "Błąd -2147220963:") <> 1 Then Fail "a broken file is an error: " & report
    ExpectStyle "Granice województw", 4, 30, RGB(&H80, 0, &H80)

  Case Else
    Fail "unknown scenario " & scenario
End Select
Set check = Nothing
If failures = 0 Then
  WScript.Echo "STYLE-MODULE-OK " & scenario
Else
  WScript.Quit 1
End If

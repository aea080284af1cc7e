' zmien_atrybuty.vbs: opens the Atrybuty dialog that changes how the lines of
' a Microsoft Map layer are drawn, without Excel.
'
'   cscript //nologo zmien_atrybuty.vbs    (or double-click: wscript)
'
' The map package comes from the registry as for every start: with several
' packages installed the package choice appears first. With no workbook to
' refresh, the dialog applies a change when "Nie odœwie¿aj arkusza" is
' ticked; otherwise it reports that the caller gave it no Excel object.
'
' RunForm opens the main dialog modeless and returns at once, while the
' script must keep its object until the dialog is closed. A script cannot
' see another program's windows (WScript.Shell.AppActivate would bring the
' dialog to the front at every look, and Wine does not implement it), and no
' property of the object says whether its dialog is still open, so there is
' nothing to poll for the end (and Wine's WScript.Sleep, the usual pause of
' a polling loop, raises error 445): the script waits in a message box that
' the user confirms after closing the dialog.
'
' Whether a dialog opened at all is known: loading the dialog sets IsChange
' to False, so the script sets it to True before RunForm. When it is still
' True afterwards no dialog opened (no package installed, the package choice
' cancelled: the component has told the user), and the script ends at once.
'
' Saved in Windows-1250, the ANSI code page of Polish Windows, in which
' Windows Script Host reads scripts without a byte order mark.
' Exit code: 0 done, 1 Atrybuty reported an error (printed).
Option Explicit

Dim atrybuty, numer, opis, zmieniono

On Error Resume Next
Set atrybuty = CreateObject("Atrybuty.MorvalyClsAttribute")
If Err.Number = 0 Then atrybuty.IsChange = True
If Err.Number = 0 Then atrybuty.RunForm
numer = Err.Number
opis = Err.Description
On Error GoTo 0

' The object is released before the script ends, on every path: Wine's
' WScript.Quit ends the process without releasing the script's variables,
' and the component ends only once its callers have let go of their objects.
If numer <> 0 Then
    Set atrybuty = Nothing
    If opis = "" Then opis = "B³¹d &H" & Hex(numer) & "."
    WScript.Echo "Nie uda³o siê otworzyæ okna zmiany atrybutów linii: " & opis
    WScript.Quit 1
End If

If atrybuty.IsChange Then
    Wypisz "Atrybuty: okno nie zosta³o otwarte."
Else
    MsgBox "Okno „Zmiana atrybutów linii” jest otwarte." & vbCrLf & vbCrLf & _
           "Kliknij OK, gdy je zamkniesz.", vbInformation, "Atrybuty"

    ' IsChange: True when "Zastosuj" ran since the dialog opened and "Anuluj"
    ' did not follow (closing the window's frame keeps it).
    zmieniono = False
    On Error Resume Next
    zmieniono = CBool(atrybuty.IsChange)
    On Error GoTo 0
    If zmieniono Then
        Wypisz "Atrybuty: koniec, IsChange = True"
    Else
        Wypisz "Atrybuty: koniec, IsChange = False"
    End If
End If
Set atrybuty = Nothing

' Prints a line in a console (cscript) and stays silent under wscript, where
' WScript.Echo would open yet another message box.
Sub Wypisz(tekst)
    If LCase(Right(WScript.FullName, 11)) = "cscript.exe" Then WScript.Echo tekst
End Sub

object FormGallery: TFormGallery
  Left = 120
  Top = 80
  BorderStyle = bsSingle
  Caption = 'Velmora Controls'
  ClientWidth = 716
  ClientHeight = 452
  Color = clBtnFace
  OnCreate = FormCreate
  object LabelLayouts: TLabel
    Left = 8
    Top = 8
    Caption = 'Binary clock: the six layouts'
    Font.Style = [fsBold]
  end
  object BinaryBig: TBinaryClock
    Left = 8
    Top = 28
    Width = 128
    Height = 72
    Color = clBlack
  end
  object BinarySmall: TBinaryClock
    Left = 148
    Top = 28
    Width = 62
    Height = 36
    Color = clBlack
    Type = 1
  end
  object BinaryTiny: TBinaryClock
    Left = 222
    Top = 28
    Width = 34
    Height = 20
    Color = clBlack
    Type = 2
  end
  object LabelBig: TLabel
    Left = 8
    Top = 104
    Caption = 'Big (18 px)'
  end
  object LabelSmall: TLabel
    Left = 148
    Top = 68
    Caption = 'Small (9 px)'
  end
  object LabelTiny: TLabel
    Left = 222
    Top = 52
    Caption = 'Tiny (5 px)'
  end
  object BinaryHorizBig: TBinaryClock
    Left = 8
    Top = 124
    Width = 452
    Height = 18
    Color = clBlack
    Type = 3
  end
  object BinaryHorizSmall: TBinaryClock
    Left = 8
    Top = 150
    Width = 224
    Height = 9
    Color = clBlack
    Type = 4
  end
  object BinaryHorizTiny: TBinaryClock
    Left = 240
    Top = 152
    Width = 124
    Height = 5
    Color = clBlack
    Type = 5
  end
  object LabelHoriz: TLabel
    Left = 8
    Top = 164
    Caption = 'Horizontal: 18, 9 and 5 px, each field a row of eight'
  end
  object LabelColors: TLabel
    Left = 8
    Top = 192
    Caption = 'Four LED colours, binary-coded decimal'
    Font.Style = [fsBold]
  end
  object BinaryColor0: TBinaryClock
    ModeBcd = 1
    Left = 8
    Top = 212
    Width = 62
    Height = 36
    Color = clBlack
    Type = 1
  end
  object BinaryColor1: TBinaryClock
    ModeBcd = 1
    Left = 78
    Top = 212
    Width = 62
    Height = 36
    Color = clBlack
    LedColor = 1
    Type = 1
  end
  object BinaryColor2: TBinaryClock
    ModeBcd = 1
    Left = 148
    Top = 212
    Width = 62
    Height = 36
    Color = clBlack
    LedColor = 2
    Type = 1
  end
  object BinaryColor3: TBinaryClock
    ModeBcd = 1
    Left = 218
    Top = 212
    Width = 62
    Height = 36
    Color = clBlack
    LedColor = 3
    Type = 1
  end
  object LabelShapes: TLabel
    Left = 8
    Top = 260
    Caption = 'Three shapes over the LEDs'
    Font.Style = [fsBold]
  end
  object BinaryShape1: TBinaryClock
    Left = 8
    Top = 280
    Width = 128
    Height = 72
    Color = clBlack
    ModeShape = 1
    ModeBcd = 1
  end
  object BinaryShape2: TBinaryClock
    Left = 144
    Top = 280
    Width = 128
    Height = 72
    Color = clBlack
    ModeShape = 2
    ModeBcd = 1
  end
  object BinaryShape3: TBinaryClock
    Left = 280
    Top = 280
    Width = 128
    Height = 72
    Color = clBlack
    ModeShape = 3
    ModeBcd = 1
  end
  object LabelShape1: TLabel
    Left = 8
    Top = 356
    Caption = 'Square frame'
  end
  object LabelShape2: TLabel
    Left = 144
    Top = 356
    Caption = 'Offset frame'
  end
  object LabelShape3: TLabel
    Left = 280
    Top = 356
    Caption = 'Triangle'
  end
  object LabelHours: TLabel
    Left = 8
    Top = 380
    Caption = 'Twelve-hour, plain binary:'
  end
  object Binary12: TBinaryClock
    Left = 8
    Top = 396
    Width = 62
    Height = 36
    Color = clBlack
    Mode24 = 0
    LedColor = 2
    ModeShape = 1
    Type = 1
  end
  object LabelPanels: TLabel
    Left = 476
    Top = 8
    Caption = 'Colour-bar panels and tube digits'
    Font.Style = [fsBold]
  end
  object PanelHex: TVelmoraPanel
    Left = 476
    Top = 28
    Width = 216
    Height = 56
    Color = clBlack
    object DigitsHex: TRidivAzoza
      Left = 8
      Top = 8
      Width = 200
      Height = 40
      Color = clBlack
      ImageList = ImageListVfdG
      ModeType = 1
      Digit1X = 25
      Digit2X = 50
      Digit3X = 75
      Digit4X = 100
      Digit5X = 125
      Digit6X = 150
      Digit7X = 175
    end
  end
  object LabelHex: TLabel
    Left = 476
    Top = 88
    Caption = 'Hexadecimal, counting up'
  end
  object PanelDecimal: TVelmoraPanel
    Left = 476
    Top = 112
    Width = 216
    Height = 56
    Color = clBlack
    DoRed = -1
    DoGreen = -1
    DoBlue = 255
    MaxInc = 200
    object DigitsDecimal: TRidivAzoza
      Left = 8
      Top = 8
      Width = 200
      Height = 40
      Color = clBlack
      ImageList = ImageListVfdR
      ModeType = 2
      Digit1X = 25
      Digit2X = 50
      Digit3X = 75
      Digit4X = 100
      Digit5X = 125
      Digit6X = 150
      Digit7X = 175
    end
  end
  object LabelDecimal: TLabel
    Left = 476
    Top = 172
    Caption = 'Decimal, counting up'
  end
  object LabelHexEditor: TLabel
    Left = 476
    Top = 196
    Caption = 'Hex editor and its scroll bar'
    Font.Style = [fsBold]
  end
  object HexEditor: THexEditor
    Left = 476
    Top = 216
    Width = 212
    Height = 220
    Color = clWhite
    Font.Name = 'Courier New'
    Font.Height = -12
    BytesPerLine = 4
    ColorCursor = clRed
    ScrollBar = HexScrollBar
  end
  object HexScrollBar: TScrollBar
    Left = 688
    Top = 216
    Width = 17
    Height = 220
    Kind = sbVertical
  end
  object ImageListVfdG: TImageList
    Height = 40
    Width = 25
    Bitmap = ImageListVfdG
  end
  object ImageListVfdR: TImageList
    Height = 40
    Width = 25
    Bitmap = ImageListVfdR
  end
  object TimerTick: TTimer
    Interval = 250
    OnTimer = TimerTickTimer
  end
end

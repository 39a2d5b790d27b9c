#pragma once
// Form data of a window holding the packed default skin as the program carries it: a skin data
// manager reading the RCDATA resource FENNICK_SKIN through its stored-skin component. Shared by
// the tests, benchmarks and tools that need the real skin loaded (their executables link
// fn_fennick_skin).
namespace fn::test {

inline constexpr const wchar_t* kFennickSkinForm = LR"(object FennickProbe: TForm
  Caption = 'Fennick'
  object mnSkinData1: TmnSkinData
    EnableSkinEffects = True
    CompressedStoredSkin = mnStoredSkin1
  end
  object mnStoredSkin1: TmnCompressedStoredSkin
    Description = 'Fennick'
    FileName = 'skin.ini'
    CompressedData = @FENNICK_SKIN
  end
end
)";

}  // namespace fn::test
